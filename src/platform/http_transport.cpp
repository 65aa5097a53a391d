// HttpTransport's request helpers, response reading, header lookup and URL encoding.

#include "platform/http_transport.h"

#include <curl/curl.h>

#include <charconv>

#include "platform/curl_transport.h"
#include "platform/text_encoding.h"
#include "platform/text_util.h"

namespace examora {

namespace {
struct UrlDeleter {
    void operator()(CURLU* u) const { curl_url_cleanup(u); }
};
struct CurlTextDeleter {
    void operator()(char* p) const { curl_free(p); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlDeleter>;
using CurlText = std::unique_ptr<char, CurlTextDeleter>;

std::optional<std::string> urlPart(CURLU* url, CURLUPart part) {
    char* raw = nullptr;
    if (curl_url_get(url, part, &raw, 0) != CURLUE_OK || !raw) return std::nullopt;
    CurlText owned(raw);
    return std::string(owned.get());
}
}  // namespace

std::optional<std::string> findHeader(const HttpHeaders& headers, std::string_view name) {
    for (const auto& [n, v] : headers) {
        if (equalsIgnoringCase(n, name)) return v;
    }
    return std::nullopt;
}

std::string HttpResponse::text() const {
    std::optional<std::string> charset;
    if (auto contentType = findHeader(headers, "Content-Type")) {
        charset = charsetOfContentType(*contentType);
    }
    if (charset) {
        if (auto decoded = convertToUtf8(body, *charset)) return *decoded;
    }
    if (auto decoded = convertToUtf8(body, defaultEncoding)) return *decoded;
    return body;
}

std::optional<std::uint64_t> HttpResponse::contentLength() const {
    auto value = findHeader(headers, "Content-Length");
    if (!value) return std::nullopt;
    std::uint64_t n = 0;
    const char* end = value->data() + value->size();
    auto [p, ec] = std::from_chars(value->data(), end, n);
    if (ec != std::errc() || p != end) return std::nullopt;
    return n;
}

std::string urlEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '~') {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

std::optional<UrlAuthority> urlAuthority(const std::string& url) {
    UrlHandle handle(curl_url());
    if (!handle) return std::nullopt;
    if (curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) {
        return std::nullopt;
    }
    auto host = urlPart(handle.get(), CURLUPART_HOST);
    if (!host) return std::nullopt;
    UrlAuthority authority{*host, std::nullopt};
    // Without CURLU_DEFAULT_PORT libcurl reports a port only when the URL spells one out.
    if (auto port = urlPart(handle.get(), CURLUPART_PORT)) {
        int n = 0;
        auto [p, ec] = std::from_chars(port->data(), port->data() + port->size(), n);
        if (ec == std::errc() && p == port->data() + port->size()) authority.port = n;
    }
    return authority;
}

HttpResponse HttpTransport::head(const std::string& url, double timeoutSeconds,
                                 HttpHeaders headers) {
    HttpRequest request;
    request.url = url;
    request.method = "HEAD";
    request.headers = std::move(headers);
    request.timeoutSeconds = timeoutSeconds;
    return perform(request);
}

HttpResponse HttpTransport::getRange(const std::string& url, std::uint64_t first,
                                     std::optional<std::uint64_t> last, double timeoutSeconds) {
    HttpRequest request;
    request.url = url;
    request.range = std::make_pair(first, last);
    request.timeoutSeconds = timeoutSeconds;
    return perform(request);
}

HttpResponse HttpTransport::getRangeToFile(const std::string& url, std::uint64_t first,
                                           std::optional<std::uint64_t> last,
                                           const std::filesystem::path& file, bool append,
                                           double timeoutSeconds) {
    HttpRequest request;
    request.url = url;
    request.range = std::make_pair(first, last);
    request.outputFile = file;
    request.appendToFile = append;
    request.timeoutSeconds = timeoutSeconds;
    return perform(request);
}

std::shared_ptr<HttpTransport> HttpTransport::systemTransport() {
    static const std::shared_ptr<HttpTransport> transport = std::make_shared<CurlTransport>();
    return transport;
}

}  // namespace examora
