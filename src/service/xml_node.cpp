// XmlNode: a node of a parsed XML document, its navigation and serialization.

#include "service/xml_node.h"

#include <libxml/tree.h>

namespace examora {

namespace {

struct XmlFree {
    void operator()(xmlChar* p) const { xmlFree(p); }
};
struct BufferFree {
    void operator()(xmlBuffer* b) const { xmlBufferFree(b); }
};

std::string text(const xmlChar* s) {
    return s ? std::string(reinterpret_cast<const char*>(s)) : std::string();
}

std::string qualifiedName(const xmlNode* node) {
    std::string name = text(node->name);
    if (node->ns && node->ns->prefix) return text(node->ns->prefix) + ":" + name;
    return name;
}

// Appends the serialization of one node (with its subtree) to `out`.
void serialize(xmlDoc* doc, xmlNode* node, std::string& out) {
    std::unique_ptr<xmlBuffer, BufferFree> buffer(xmlBufferCreate());
    if (!buffer) return;
    if (xmlNodeDump(buffer.get(), doc, node, 0, 0) < 0) return;
    const xmlChar* content = xmlBufferContent(buffer.get());
    if (content) out.append(reinterpret_cast<const char*>(content), xmlBufferLength(buffer.get()));
}

// libxml2 takes a mutable document for reading operations; none of them changes the tree.
xmlDoc* mutableDoc(const std::shared_ptr<const _xmlDoc>& doc) {
    return const_cast<xmlDoc*>(doc.get());
}

}  // namespace

std::optional<XmlNode> XmlNode::wrap(const std::shared_ptr<const _xmlDoc>& doc, _xmlNode* node) {
    if (!node) return std::nullopt;
    return XmlNode(doc, node);
}

bool XmlNode::isElement() const {
    return node_->type == XML_ELEMENT_NODE;
}

std::string XmlNode::Name() const {
    switch (node_->type) {
        case XML_ELEMENT_NODE:
        case XML_ATTRIBUTE_NODE:
            return qualifiedName(node_);
        case XML_TEXT_NODE:
            return "#text";
        case XML_CDATA_SECTION_NODE:
            return "#cdata-section";
        case XML_COMMENT_NODE:
            return "#comment";
        default:
            return text(node_->name);
    }
}

std::string XmlNode::InnerText() const {
    std::unique_ptr<xmlChar, XmlFree> content(xmlNodeGetContent(node_));
    return text(content.get());
}

std::string XmlNode::InnerXml() const {
    std::string out;
    if (node_->type != XML_ELEMENT_NODE) return out;
    for (xmlNode* child = node_->children; child; child = child->next) {
        serialize(mutableDoc(doc_), child, out);
    }
    return out;
}

std::string XmlNode::OuterXml() const {
    std::string out;
    serialize(mutableDoc(doc_), node_, out);
    return out;
}

std::vector<std::pair<std::string, std::string>> XmlNode::Attributes() const {
    std::vector<std::pair<std::string, std::string>> out;
    if (node_->type != XML_ELEMENT_NODE) return out;
    for (xmlAttr* attr = node_->properties; attr; attr = attr->next) {
        std::unique_ptr<xmlChar, XmlFree> value(
            xmlNodeGetContent(reinterpret_cast<xmlNode*>(attr)));
        std::string name = text(attr->name);
        if (attr->ns && attr->ns->prefix) name = text(attr->ns->prefix) + ":" + name;
        out.emplace_back(std::move(name), text(value.get()));
    }
    return out;
}

std::vector<XmlNode> XmlNode::ChildNodes() const {
    std::vector<XmlNode> out;
    if (node_->type != XML_ELEMENT_NODE) return out;
    for (xmlNode* child = node_->children; child; child = child->next)
        out.push_back(XmlNode(doc_, child));
    return out;
}

std::optional<XmlNode> XmlNode::ParentNode() const {
    // The document node is not an XmlNode; the root element has no parent here.
    if (!node_->parent || node_->parent->type == XML_DOCUMENT_NODE) return std::nullopt;
    return wrap(doc_, node_->parent);
}

std::optional<XmlNode> XmlNode::PreviousSibling() const {
    return wrap(doc_, node_->prev);
}
std::optional<XmlNode> XmlNode::NextSibling() const {
    return wrap(doc_, node_->next);
}

std::optional<XmlNode> XmlNode::FirstChild() const {
    return isElement() ? wrap(doc_, node_->children) : std::nullopt;
}
std::optional<XmlNode> XmlNode::LastChild() const {
    return isElement() ? wrap(doc_, node_->last) : std::nullopt;
}
bool XmlNode::HasChildNodes() const {
    return isElement() && node_->children != nullptr;
}

}  // namespace examora
