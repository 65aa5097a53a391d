// Text helpers: emptiness, trimming and UTF-8 counting and cutting by code point.

#include "platform/text_util.h"

#include <cctype>

namespace examora {

bool isEmpty(const Value& v) {
    if (v.isNullObject()) return true;
    if (const std::string* s = v.textPtr()) return s->empty();
    if (const Bytes* b = v.bytesPtr()) return b->empty();
    return false;
}

bool isEmpty(std::string_view s) {
    return s.empty() || s == "NULL";
}

bool isEmpty(const std::optional<std::string>& s) {
    return !s || isEmpty(std::string_view(*s));
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string toLowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string toUpperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string trim(std::string_view s) {
    const char* ws = " \t\r\n\f\v";
    std::size_t b = s.find_first_not_of(ws);
    if (b == std::string_view::npos) return std::string();
    std::size_t e = s.find_last_not_of(ws);
    return std::string(s.substr(b, e - b + 1));
}

std::vector<std::string> split(std::string_view s, std::string_view separator) {
    std::vector<std::string> parts;
    if (separator.empty()) {
        parts.emplace_back(s);
        return parts;
    }
    std::size_t start = 0;
    while (true) {
        std::size_t pos = s.find(separator, start);
        if (pos == std::string_view::npos) {
            parts.emplace_back(s.substr(start));
            return parts;
        }
        parts.emplace_back(s.substr(start, pos - start));
        start = pos + separator.size();
    }
}

std::string join(const std::vector<std::string>& parts, std::string_view separator) {
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i) out += separator;
        out += parts[i];
    }
    return out;
}

std::string replaceAll(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(s);
    std::string out;
    out.reserve(s.size());
    std::size_t start = 0;
    while (true) {
        std::size_t pos = s.find(from, start);
        if (pos == std::string_view::npos) break;
        out.append(s.substr(start, pos - start));
        out.append(to);
        start = pos + from.size();
    }
    out.append(s.substr(start));
    return out;
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.starts_with(prefix);
}
bool endsWith(std::string_view s, std::string_view suffix) {
    return s.ends_with(suffix);
}

namespace {
// Length of the UTF-8 sequence starting with byte c; stray continuation bytes count as one.
std::size_t seqLength(unsigned char c) {
    if (c < 0x80) return 1;
    if ((c >> 5) == 0x6) return 2;
    if ((c >> 4) == 0xE) return 3;
    if ((c >> 3) == 0x1E) return 4;
    return 1;
}
}  // namespace

std::vector<std::string> utf8Chars(std::string_view s) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = seqLength(static_cast<unsigned char>(s[i]));
        if (i + n > s.size()) n = s.size() - i;
        out.emplace_back(s.substr(i, n));
        i += n;
    }
    return out;
}

std::size_t utf8Length(std::string_view s) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); ++count) {
        i += seqLength(static_cast<unsigned char>(s[i]));
    }
    return count;
}

std::string utf8Substr(std::string_view s, std::size_t start, std::size_t count) {
    std::size_t i = 0, cp = 0;
    while (i < s.size() && cp < start) {
        i += seqLength(static_cast<unsigned char>(s[i]));
        ++cp;
    }
    if (i >= s.size()) return std::string();
    std::size_t begin = i;
    std::size_t taken = 0;
    while (i < s.size() && taken < count) {
        i += seqLength(static_cast<unsigned char>(s[i]));
        ++taken;
    }
    if (i > s.size()) i = s.size();
    return std::string(s.substr(begin, i - begin));
}

std::string xmlEscapeText(std::string_view s) {
    std::string out;
    out.reserve(s.size() + 16);
    for (char c : s) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '\r':
                out += "&#13;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string htmlEscape(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace examora
