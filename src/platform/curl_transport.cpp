// CurlTransport: the HTTP transport over libcurl, one easy handle per call.

#include "platform/curl_transport.h"

#include <curl/curl.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <mutex>

#include "platform/text_util.h"

namespace examora {

namespace {

struct EasyDeleter {
    void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct SlistDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, SlistDeleter>;
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

void globalInitOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Appends one line to the list; false when libcurl is out of memory.
bool appendHeader(HeaderList& list, const std::string& line) {
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (!grown) return false;
    (void)list.release();  // the grown list now owns the old nodes
    list.reset(grown);
    return true;
}

struct Exchange {
    HttpResponse* response = nullptr;
    std::FILE* file = nullptr;  // not owned; the FileHandle in perform owns it
    const std::filesystem::path* filePath = nullptr;
    bool appendToFile = false;
    bool fileFailed = false;
    std::uint64_t maxBodyBytes = 0;  // 0: no limit
    bool tooLarge = false;
    const HttpRequest* request = nullptr;
    bool sinkRefused = false;
    long lastStatus = 0;
    CURL* easy = nullptr;
};

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* ex = static_cast<Exchange*>(user);
    const std::size_t n = size * count;
    if (ex->maxBodyBytes != 0 && ex->response->bytesReceived + n > ex->maxBodyBytes) {
        ex->tooLarge = true;
        return 0;  // aborts the transfer with a write error
    }
    ex->response->bytesReceived += n;
    if (ex->request->bodySink) {
        long status = 0;
        curl_easy_getinfo(ex->easy, CURLINFO_RESPONSE_CODE, &status);
        if (ex->request->bodySink(status, data, n)) return n;
        ex->sinkRefused = true;
        return 0;
    }
    if (!ex->filePath) {
        ex->response->body.append(data, n);
        return n;
    }
    long status = 0;
    curl_easy_getinfo(ex->easy, CURLINFO_RESPONSE_CODE, &status);
    // An error page must not be written into a partially downloaded file.
    if (status < 200 || status >= 300) return n;
    if (!ex->file) {
        // A server that ignores the range sends the whole body with 200: it then replaces the
        // partial file instead of being appended to it.
        const bool append = ex->appendToFile && status == 206;
        ex->file = std::fopen(ex->filePath->c_str(), append ? "ab" : "wb");
        if (!ex->file) {
            ex->fileFailed = true;
            return 0;  // aborts the transfer with a write error
        }
    }
    if (std::fwrite(data, 1, n, ex->file) != n) {
        ex->fileFailed = true;
        return 0;
    }
    return n;
}

std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto* ex = static_cast<Exchange*>(user);
    const std::size_t n = size * count;
    std::string line = trim(std::string_view(data, n));
    if (startsWith(line, "HTTP/")) {
        // A new response (after 100 Continue or a redirect): only the final one's headers count.
        ex->response->headers.clear();
        return n;
    }
    std::size_t colon = line.find(':');
    if (colon != std::string::npos) {
        ex->response->headers.emplace_back(trim(line.substr(0, colon)),
                                           trim(line.substr(colon + 1)));
    }
    return n;
}

int onProgress(void* user, curl_off_t dlTotal, curl_off_t dlNow, curl_off_t, curl_off_t) {
    auto* req = static_cast<const HttpRequest*>(user);
    bool go = req->progress(static_cast<std::uint64_t>(dlNow), static_cast<std::uint64_t>(dlTotal));
    return go ? 0 : 1;
}

}  // namespace

CurlTransport::CurlTransport() {
    globalInitOnce();
}

HttpResponse CurlTransport::perform(const HttpRequest& request) {
    globalInitOnce();
    HttpResponse response;
    response.defaultEncoding = request.defaultEncoding;

    EasyHandle easy(curl_easy_init());
    if (!easy) {
        response.error = "cannot create a transfer handle";
        return response;
    }
    CURL* h = easy.get();
    char errorBuffer[CURL_ERROR_SIZE] = {0};

    Exchange ex;
    ex.response = &response;
    ex.easy = h;
    ex.maxBodyBytes = request.maxBodyBytes;
    ex.request = &request;
    if (request.outputFile) {
        ex.filePath = &*request.outputFile;
        ex.appendToFile = request.appendToFile;
    }

    HeaderList headers;
    bool headersOk = true;
    for (const auto& [name, value] : request.headers) {
        // The byte count is the transport's to state; a stale given value would corrupt framing.
        if (equalsIgnoringCase(name, "Content-Length")) continue;
        headersOk = headersOk && appendHeader(headers, name + ": " + value);
    }
    // libcurl would otherwise wait for "100 Continue" before sending a large body.
    headersOk = headersOk && appendHeader(headers, "Expect:");
    if (!headersOk) {
        response.error = "out of memory";
        return response;
    }

    curl_easy_setopt(h, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &ex);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &ex);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    if (request.timeoutSeconds > 0 && std::isfinite(request.timeoutSeconds)) {
        double ms = std::ceil(request.timeoutSeconds * 1000.0);
        long limit = ms > 2.0e9 ? 2000000000L : static_cast<long>(ms);
        curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, limit);
    }
    if (request.stallSeconds > 0) {
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, request.stallSeconds);
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, request.stallBytesPerSecond);
    }
    if (request.progress) {
        curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, onProgress);
        curl_easy_setopt(h, CURLOPT_XFERINFODATA, &request);
        curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    }

    const std::string method = toUpperAscii(request.method);
    if (method == "GET") {
        curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    } else if (method == "HEAD") {
        curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    } else {
        if (method == "POST") {
            curl_easy_setopt(h, CURLOPT_POST, 1L);
        } else {
            curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, method.c_str());
        }
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request.body.size()));
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, request.body.data());
    }

    std::string range;
    if (request.range) {
        range = std::to_string(request.range->first) + "-";
        if (request.range->second) range += std::to_string(*request.range->second);
        curl_easy_setopt(h, CURLOPT_RANGE, range.c_str());
    }

    CURLcode rc = curl_easy_perform(h);
    FileHandle file(ex.file);
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &response.status);
    if (file && std::fflush(file.get()) != 0) ex.fileFailed = true;
    // A complete but empty body still leaves the (empty) file the caller asked for.
    if (rc == CURLE_OK && !file && ex.filePath && !ex.appendToFile && response.status >= 200 &&
        response.status < 300) {
        file.reset(std::fopen(ex.filePath->c_str(), "wb"));
        if (!file) ex.fileFailed = true;
    }

    if (ex.tooLarge) {
        response.error =
            "response body larger than " + std::to_string(request.maxBodyBytes) + " bytes";
    } else if (ex.sinkRefused) {
        response.error = "body refused";
    } else if (ex.fileFailed) {
        response.error = "cannot write " + request.outputFile->string();
    } else if (rc != CURLE_OK) {
        response.error = errorBuffer[0] ? std::string(errorBuffer) : curl_easy_strerror(rc);
    }
    return response;
}

}  // namespace examora
