// PageLink: the "ios://" links by which question and notes pages report taps.

#include "facade/page_link.h"

#include <charconv>

#include "platform/text_util.h"

namespace examora {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        int extra = 0;
        unsigned min = 0;
        unsigned cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1, min = 0x80, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, min = 0x800, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, min = 0x10000, cp = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= s.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

}  // namespace

bool PageLink::is(std::string_view verb) const {
    return equalsIgnoringCase(command, verb);
}

bool PageLink::allowsLoad(std::string_view url) {
    // The blank page itself, not any address that merely mentions it.
    return url == "about:blank" || startsWith(url, "about:blank#") ||
           startsWith(url, "about:blank?");
}

std::optional<std::string> PageLink::percentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int hi = hexValue(text[i + 1]);
        const int lo = hexValue(text[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    if (!isUtf8(out)) return std::nullopt;
    return out;
}

std::optional<PageLink> PageLink::parse(std::string_view url) {
    const std::size_t sep = url.find("://");
    if (sep == std::string_view::npos || url.substr(0, sep) != "ios") return std::nullopt;
    const std::optional<std::string> rest = percentDecode(url.substr(sep + 3));
    if (!rest) return std::nullopt;
    PageLink link;
    const std::size_t slash = rest->find('/');
    link.command = rest->substr(0, slash);
    if (link.command.empty()) return std::nullopt;
    if (slash != std::string::npos) {
        link.hasArgument = true;
        const std::size_t next = rest->find('/', slash + 1);
        link.argument = rest->substr(
            slash + 1, next == std::string::npos ? std::string::npos : next - slash - 1);
    }
    return link;
}

std::optional<int> PageLink::noteItemId(std::string_view url) {
    const std::optional<PageLink> link = parse(url);
    if (!link || !link->is("donoteitem") || link->argument.empty()) return std::nullopt;
    int id = 0;
    const char* first = link->argument.data();
    const char* last = first + link->argument.size();
    const auto [end, ec] = std::from_chars(first, last, id);
    if (ec != std::errc() || end != last || id < 1) return std::nullopt;
    return id;
}

}  // namespace examora
