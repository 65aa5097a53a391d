#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace examora {

// Converts bytes in the named character set to UTF-8 with glibc iconv. UTF-8 (any spelling) is
// passed through unchanged. A byte sequence that does not decode becomes U+FFFD and decoding goes
// on after it, so no input is lost silently and none aborts. nullopt when the character set is
// unknown to iconv.
std::optional<std::string> convertToUtf8(std::string_view bytes, std::string_view charset);

// The charset parameter of a Content-Type value ("text/xml; charset=utf-8" → "utf-8"), quotes
// removed; nullopt when there is none.
std::optional<std::string> charsetOfContentType(std::string_view contentType);

}  // namespace examora
