#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/value.h"

namespace examora {

// "Empty" throughout the system: nil, the null object, the text "NULL", or a text of length 0.
bool isEmpty(const Value& v);
bool isEmpty(std::string_view s);
bool isEmpty(const std::optional<std::string>& s);
inline bool isEmpty(const char* s) {
    return s == nullptr || isEmpty(std::string_view(s));
}

bool equalsIgnoringCase(std::string_view a, std::string_view b);
std::string toLowerAscii(std::string_view s);
std::string toUpperAscii(std::string_view s);
// Removes leading and trailing white space (space, tab, CR, LF, FF, VT).
std::string trim(std::string_view s);
std::vector<std::string> split(std::string_view s, std::string_view separator);
std::string join(const std::vector<std::string>& parts, std::string_view separator);
std::string replaceAll(std::string_view s, std::string_view from, std::string_view to);
bool startsWith(std::string_view s, std::string_view prefix);
bool endsWith(std::string_view s, std::string_view suffix);

// Whether the bytes are well-formed UTF-8: no overlong forms, surrogates, code points beyond
// U+10FFFF or characters cut short.
bool isValidUtf8(std::string_view s);

// Unicode-aware helpers over UTF-8: counts and cuts by code point, never inside a character.
std::size_t utf8Length(std::string_view s);
std::string utf8Substr(std::string_view s, std::size_t start,
                       std::size_t count = std::string_view::npos);
std::vector<std::string> utf8Chars(std::string_view s);

// XML character data: & < > become entity references, and a carriage return becomes "&#13;"
// because a parser would otherwise fold CR LF into LF and the text would not arrive as given.
std::string xmlEscapeText(std::string_view s);

// Escapes & < > " ' for safe inclusion of untrusted text in HTML.
std::string htmlEscape(std::string_view s);

}  // namespace examora
