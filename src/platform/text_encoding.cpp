// Conversion of text in a named character set to UTF-8, and Content-Type charsets.

#include "platform/text_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

#include "platform/text_util.h"

namespace examora {

namespace {

struct IconvCloser {
    void operator()(iconv_t cd) const { iconv_close(cd); }
};
// iconv_t is a pointer type in glibc, so unique_ptr can own it directly.
using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

bool isUtf8Name(std::string_view charset) {
    std::string lower = toLowerAscii(trim(charset));
    return lower == "utf-8" || lower == "utf8";
}

}  // namespace

std::optional<std::string> convertToUtf8(std::string_view bytes, std::string_view charset) {
    if (isUtf8Name(charset)) return std::string(bytes);
    std::string from = trim(charset);
    iconv_t raw = iconv_open("UTF-8", from.c_str());
    if (raw == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    IconvHandle cd(raw);

    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2 + 16);
    // iconv takes a non-const input pointer but never writes through it.
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        std::size_t rc = iconv(cd.get(), &in, &inLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        if (rc != static_cast<std::size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        // EILSEQ (invalid sequence) or EINVAL (truncated at the end): replace one byte and go on.
        out += "\xEF\xBF\xBD";
        ++in;
        --inLeft;
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    }
    // Flush any shift state of stateful encodings.
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    iconv(cd.get(), nullptr, nullptr, &dst, &dstLeft);
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    return out;
}

std::optional<std::string> charsetOfContentType(std::string_view contentType) {
    for (const std::string& part : split(contentType, ";")) {
        std::string item = trim(part);
        std::size_t eq = item.find('=');
        if (eq == std::string::npos) continue;
        if (toLowerAscii(trim(item.substr(0, eq))) != "charset") continue;
        std::string value = trim(item.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        if (value.empty()) return std::nullopt;
        return value;
    }
    return std::nullopt;
}

}  // namespace examora
