#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct _xmlNode;
struct _xmlDoc;

namespace examora {

// A node of a parsed XML document. A cheap handle: it shares ownership of the document, so a
// node stays valid as long as any handle to it lives, and it never owns the node itself.
// Every text is UTF-8; entity and character references are decoded in texts and kept as
// references in serialized markup.
class XmlNode {
  public:
    // The element's name as written, prefix included ("soap:Body"); "#text", "#comment",
    // "#cdata-section" for other kinds of node.
    std::string Name() const;
    // The text content: all descendant text, references decoded.
    std::string Value() const { return InnerText(); }
    std::string InnerText() const;
    // The serialized markup of the children, concatenated.
    std::string InnerXml() const;
    // The node itself serialized.
    std::string OuterXml() const;
    // Attribute name (prefix included) → value, in document order.
    std::vector<std::pair<std::string, std::string>> Attributes() const;
    std::vector<XmlNode> ChildNodes() const;
    std::optional<XmlNode> ParentNode() const;
    std::optional<XmlNode> PreviousSibling() const;
    std::optional<XmlNode> NextSibling() const;
    std::optional<XmlNode> FirstChild() const;
    std::optional<XmlNode> LastChild() const;
    bool HasChildNodes() const;

    bool isElement() const;
    bool operator==(const XmlNode& other) const { return node_ == other.node_; }

  private:
    friend class XmlParseHelper;
    XmlNode(std::shared_ptr<const _xmlDoc> doc, _xmlNode* node)
        : doc_(std::move(doc)), node_(node) {}
    static std::optional<XmlNode> wrap(const std::shared_ptr<const _xmlDoc>& doc, _xmlNode* node);

    std::shared_ptr<const _xmlDoc> doc_;  // keeps the tree alive
    _xmlNode* node_;                      // borrowed from the tree
};

}  // namespace examora
