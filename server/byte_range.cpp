// ByteRange: the answer to a ranged GET of a file.
#include "server/byte_range.h"

#include <charconv>

#include "platform/text_util.h"

namespace examora {

namespace {

std::optional<std::uint64_t> number(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::uint64_t n = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return n;
}

}  // namespace

ByteRange ByteRange::choose(const std::optional<std::string>& rangeHeader, std::uint64_t size) {
    ByteRange whole{200, 0, size, {}};
    if (!rangeHeader) return whole;
    const std::string spec = trim(*rangeHeader);
    if (!startsWith(spec, "bytes=")) return whole;
    const std::string set = trim(spec.substr(6));
    if (set.find(',') != std::string::npos) return whole;
    const std::size_t dash = set.find('-');
    if (dash == std::string::npos) return whole;
    const std::string_view firstText = std::string_view(set).substr(0, dash);
    const std::string_view lastText = std::string_view(set).substr(dash + 1);
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    if (firstText.empty()) {
        // A suffix range: the last n bytes.
        std::optional<std::uint64_t> n = number(lastText);
        if (!n) return whole;
        if (*n == 0 || size == 0) return {416, 0, 0, "bytes */" + std::to_string(size)};
        first = *n >= size ? 0 : size - *n;
        last = size - 1;
    } else {
        std::optional<std::uint64_t> f = number(firstText);
        if (!f) return whole;
        std::optional<std::uint64_t> l =
            lastText.empty() ? std::optional<std::uint64_t>(UINT64_MAX) : number(lastText);
        if (!l || *l < *f) return whole;
        if (*f >= size) return {416, 0, 0, "bytes */" + std::to_string(size)};
        first = *f;
        last = *l >= size ? size - 1 : *l;
    }
    return {
        206, first, last - first + 1,
        "bytes " + std::to_string(first) + "-" + std::to_string(last) + "/" + std::to_string(size)};
}

}  // namespace examora
