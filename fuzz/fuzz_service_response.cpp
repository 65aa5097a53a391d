// Response documents of any shape: the single result, the parts and a walk over every node must
// neither crash nor leak, whatever the text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "service/asi_service_result.h"

namespace {

void walk(const examora::XmlNode& node, int depth) {
    (void)node.Name();
    (void)node.Attributes();
    (void)node.PreviousSibling();
    (void)node.ParentNode();
    if (depth > 64) return;
    for (const examora::XmlNode& child : node.ChildNodes()) walk(child, depth + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    examora::ASIServiceArgs args;
    args.setMethodName("X");

    auto single = examora::ASIServiceResult::fromResponseText(text, args);
    if (!single.xmlValue()) __builtin_trap();  // single-result mode is never null

    args.setMultiResult(true);
    auto multi = examora::ASIServiceResult::fromResponseText(text, args);
    if (multi.xmlValues().has_value() != multi.xmlValue().has_value()) __builtin_trap();

    if (auto root = multi.xmlParse().rootNode()) {
        (void)root->InnerXml();
        (void)root->OuterXml();
        (void)root->InnerText();
        walk(*root, 0);
    }
    return 0;
}
