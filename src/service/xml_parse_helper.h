#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "service/xml_node.h"

namespace examora {

// One parsed XML document (libxml2). Parsing never reaches the network, never expands entities
// into the tree and refuses documents with a document type declaration, so a hostile response
// can neither read files nor blow up memory. Empty or malformed text gives a helper with no
// document, on which every lookup finds nothing.
class XmlParseHelper {
  public:
    XmlParseHelper() = default;
    explicit XmlParseHelper(std::string_view text);

    bool hasDocument() const { return doc_ != nullptr; }
    std::optional<XmlNode> rootNode() const;
    // The first element named `name` exactly (prefix included): the root's children are visited
    // in order, each searched depth-first in document order, itself before its descendants.
    // The root element itself is not a candidate.
    std::optional<XmlNode> getSingleNode(std::string_view name) const;

  private:
    std::shared_ptr<const _xmlDoc> doc_;
};

}  // namespace examora
