// XmlParseHelper: one safely parsed XML document and its lookups.

#include "service/xml_parse_helper.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>
#include <mutex>

namespace examora {

namespace {

struct ParserCtxtFree {
    void operator()(xmlParserCtxt* c) const { xmlFreeParserCtxt(c); }
};
struct DocFree {
    void operator()(const _xmlDoc* d) const { xmlFreeDoc(const_cast<xmlDoc*>(d)); }
};

// No network access, no entity substitution into the tree, no DTD loading, the default size
// limits (no XML_PARSE_HUGE). Blank text between elements is dropped so that a pretty-printed
// response has the same children as a compact one.
constexpr int kParseOptions =
    XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOBLANKS;

// A service response never carries a document type declaration; one in a response can only
// serve entity tricks, so parsing stops there and the document counts as malformed.
void refuseDoctype(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*) {
    xmlStopParser(static_cast<xmlParserCtxt*>(ctx));
}

void ignoreError(void*, xmlError*) {}

bool nameMatches(const xmlNode* node, std::string_view name) {
    if (node->type != XML_ELEMENT_NODE || !node->name) return false;
    std::string_view local(reinterpret_cast<const char*>(node->name));
    if (node->ns && node->ns->prefix) {
        std::string_view prefix(reinterpret_cast<const char*>(node->ns->prefix));
        return name.size() == prefix.size() + 1 + local.size() && name.starts_with(prefix) &&
               name[prefix.size()] == ':' && name.ends_with(local);
    }
    return name == local;
}

}  // namespace

XmlParseHelper::XmlParseHelper(std::string_view text) {
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) return;

    std::unique_ptr<xmlParserCtxt, ParserCtxtFree> ctxt(xmlNewParserCtxt());
    if (!ctxt || !ctxt->sax) return;
    ctxt->sax->internalSubset = refuseDoctype;
    ctxt->sax->serror = ignoreError;
    // The text is UTF-8 whatever its declaration says: the transport has already decoded it.
    xmlDoc* doc = xmlCtxtReadMemory(ctxt.get(), text.data(), static_cast<int>(text.size()), nullptr,
                                    "UTF-8", kParseOptions);
    if (!doc) return;
    doc_ = std::shared_ptr<const _xmlDoc>(doc, DocFree());
    if (!xmlDocGetRootElement(doc) || doc->intSubset) doc_.reset();
}

std::optional<XmlNode> XmlParseHelper::rootNode() const {
    if (!doc_) return std::nullopt;
    return XmlNode::wrap(doc_, xmlDocGetRootElement(const_cast<xmlDoc*>(doc_.get())));
}

std::optional<XmlNode> XmlParseHelper::getSingleNode(std::string_view name) const {
    if (!doc_) return std::nullopt;
    xmlNode* root = xmlDocGetRootElement(const_cast<xmlDoc*>(doc_.get()));
    if (!root) return std::nullopt;
    // Pre-order walk of everything below the root, which is document order.
    xmlNode* node = root->children;
    while (node) {
        if (nameMatches(node, name)) return XmlNode(doc_, node);
        if (node->type == XML_ELEMENT_NODE && node->children) {
            node = node->children;
            continue;
        }
        while (node && !node->next) {
            node = node->parent;
            if (node == root) node = nullptr;
        }
        if (node) node = node->next;
    }
    return std::nullopt;
}

}  // namespace examora
