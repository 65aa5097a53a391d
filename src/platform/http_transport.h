#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace examora {

// Header lines in the order they are sent or were received; names compare ignoring ASCII case.
using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

// The value of the first header with the name (ignoring case), or nullopt.
std::optional<std::string> findHeader(const HttpHeaders& headers, std::string_view name);

// One HTTP exchange to make. The transport computes Content-Length from `body` itself; a
// Content-Length given in `headers` is dropped.
struct HttpRequest {
    std::string url;
    std::string method = "GET";  // "GET", "POST", "HEAD" or any other verb
    HttpHeaders headers;
    std::string body;             // sent as is; ignored for GET and HEAD
    double timeoutSeconds = 120;  // whole exchange; 0 or less means no limit
    // Decodes a response that names no character set (see HttpResponse::text).
    std::string defaultEncoding = "UTF-8";
    // Ranged GET: "Range: bytes=first-last" (last omitted: to the end).
    std::optional<std::pair<std::uint64_t, std::optional<std::uint64_t>>> range;
    // When set, the response body is written to this file instead of memory (appended when
    // `appendToFile` and the server answers 206, else the file is truncated first). Only a 2xx
    // body is written, so an error page never lands in a partial download.
    std::optional<std::filesystem::path> outputFile;
    bool appendToFile = false;
    // When set, body bytes go to this sink as they arrive, with the response status, instead of
    // to memory or a file; returning false aborts the exchange as failed ("body refused").
    std::function<bool(long status, const char* data, std::size_t size)> bodySink;
    // Aborts the exchange as failed when fewer than `stallBytesPerSecond` arrive for
    // `stallSeconds` in a row (0: no stall limit).
    long stallSeconds = 0;
    long stallBytesPerSecond = 1;
    // Called as bytes arrive with (received, expected or 0); returning false aborts the exchange.
    std::function<bool(std::uint64_t, std::uint64_t)> progress;
    // The most body bytes accepted; a longer body aborts the exchange as failed, so that no
    // answer can take the process's memory. 0 means no limit, for downloads written to a file.
    static constexpr std::uint64_t kDefaultMaxBodyBytes = std::uint64_t{64} << 20;
    std::uint64_t maxBodyBytes = kDefaultMaxBodyBytes;
};

struct HttpResponse {
    long status = 0;  // 0 when no response arrived
    // Why the exchange did not complete (refused, time-out, ...); nullopt when it completed,
    // whatever the status.
    std::optional<std::string> error;
    HttpHeaders headers;  // of the final response
    std::string body;     // raw bytes (empty when written to a file)
    std::uint64_t bytesReceived = 0;
    std::string defaultEncoding = "UTF-8";

    bool completed() const { return !error.has_value(); }
    // The body decoded to UTF-8: by the charset named in Content-Type, else by the request's
    // default encoding. Bytes that do not decode become U+FFFD; an unknown charset falls back to
    // the default encoding, and then to the raw bytes.
    std::string text() const;
    // The Content-Length header as a number, or nullopt.
    std::optional<std::uint64_t> contentLength() const;
};

// Percent-encodes everything but the unreserved characters (A-Z a-z 0-9 - . _ ~), for a query
// item or a form field.
std::string urlEncode(std::string_view text);

// The authority part of a URL: host (IPv6 in brackets) and the port only when the URL names one.
struct UrlAuthority {
    std::string host;
    std::optional<int> port;
};
std::optional<UrlAuthority> urlAuthority(const std::string& url);

// The HTTP client of the system. One virtual entry point so tests can stand in for the network;
// the helpers below build the common requests on top of it. Implementations are safe to call from
// several threads at once and never throw.
class HttpTransport {
  public:
    virtual ~HttpTransport() = default;

    // Runs the request synchronously and returns when the response (or an error) is in.
    virtual HttpResponse perform(const HttpRequest& request) = 0;

    HttpResponse head(const std::string& url, double timeoutSeconds, HttpHeaders headers = {});
    // GET of bytes first..last (inclusive; nullopt: to the end) into memory.
    HttpResponse getRange(const std::string& url, std::uint64_t first,
                          std::optional<std::uint64_t> last, double timeoutSeconds);
    // The same into a file; `append` continues an earlier partial download.
    HttpResponse getRangeToFile(const std::string& url, std::uint64_t first,
                                std::optional<std::uint64_t> last,
                                const std::filesystem::path& file, bool append,
                                double timeoutSeconds);

    // The libcurl transport shared by the process.
    static std::shared_ptr<HttpTransport> systemTransport();
};

}  // namespace examora
