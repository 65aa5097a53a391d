// ZxFileSingleDownloader: one byte range of a file download, written at its own offsets.
#include "platform/zx_file_single_downloader.h"

#include <sys/types.h>

#include "platform/strformat.h"

namespace examora {

ZxFileSingleDownloader::ZxFileSingleDownloader(std::string url, std::filesystem::path destPath,
                                               std::int64_t begin, std::int64_t end,
                                               std::int64_t totalLength,
                                               std::shared_ptr<HttpTransport> transport)
    : ZxFileDownloader(std::move(url), std::move(destPath), std::move(transport)),
      begin(begin),
      end(end),
      totalLength(totalLength) {}

ZxFileSingleDownloader::~ZxFileSingleDownloader() = default;

std::int64_t ZxFileSingleDownloader::lastOffset() const {
    if (end < 0) return totalLength >= 0 ? totalLength - 1 : -1;
    return totalLength >= 0 && end > totalLength - 1 ? totalLength - 1 : end;
}

HttpRequest ZxFileSingleDownloader::request() const {
    HttpRequest r;
    r.url = url();
    r.method = "GET";
    r.timeoutSeconds = kTimeoutSeconds;
    r.stallSeconds = kStallSeconds;
    r.maxBodyBytes = 0;
    r.headers = {{"Cache-Control", "no-cache"}, {"Pragma", "no-cache"}};
    const std::int64_t from = begin + currentLength_;
    if (end >= 0) {
        r.headers.emplace_back("Range", strformat("bytes=%lld-%lld", static_cast<long long>(from),
                                                  static_cast<long long>(end)));
    } else if (from > 0) {
        r.headers.emplace_back("Range", strformat("bytes=%lld-", static_cast<long long>(from)));
    }
    return r;
}

bool ZxFileSingleDownloader::writeChunk(long status, const char* data, std::size_t size,
                                        std::string& failure) {
    if (pauseRequested_) {
        failure = "paused";
        return false;
    }
    const std::int64_t offset = begin + currentLength_;
    // Whether this request asked for a range is fixed when it was sent, not by what arrived.
    if (requestRanged_ ? status != 206 : status != 200 && status != 206) {
        failure =
            strformat("status %ld for bytes from %lld", status, static_cast<long long>(offset));
        return false;
    }
    const std::int64_t last = lastOffset();
    if (last >= 0 && offset + static_cast<std::int64_t>(size) - 1 > last) {
        failure =
            strformat("more bytes than the part holds (from %lld)", static_cast<long long>(offset));
        return false;
    }
    if (!writeHandle_) {
        writeHandle_.reset(std::fopen(destPath().c_str(), "r+b"));
        if (!writeHandle_) writeHandle_.reset(std::fopen(destPath().c_str(), "w+b"));
        if (!writeHandle_) {
            failure = "cannot open " + destPath().string();
            return false;
        }
    }
    if (fseeko(writeHandle_.get(), static_cast<off_t>(offset), SEEK_SET) != 0 ||
        std::fwrite(data, 1, size, writeHandle_.get()) != size) {
        failure = "cannot write " + destPath().string();
        return false;
    }
    currentLength_ += static_cast<std::int64_t>(size);
    if (progressHandler) progressHandler(static_cast<std::int64_t>(size));
    return true;
}

std::optional<std::string> ZxFileSingleDownloader::start() {
    if (finished_) return std::nullopt;
    if (lastOffset() >= 0 && begin + currentLength_ > lastOffset()) {
        finished_ = true;
        return std::nullopt;
    }
    pauseRequested_ = false;
    isDownloading_ = true;
    std::string failure;
    std::uint64_t written = 0;  // by this request
    HttpRequest r = request();
    requestRanged_ = findHeader(r.headers, "Range").has_value();
    r.bodySink = [this, &failure, &written](long status, const char* data, std::size_t size) {
        if (!writeChunk(status, data, size, failure)) return false;
        written += size;
        return true;
    };
    HttpResponse response = transport().perform(r);
    isDownloading_ = false;
    // Written bytes must reach the file before anyone reads it or counts the part done.
    if (writeHandle_ && std::fflush(writeHandle_.get()) != 0 && failure.empty())
        failure = "cannot write " + destPath().string();
    if (!failure.empty()) return failure;
    if (response.error) return *response.error;
    const std::int64_t offset = begin + currentLength_;
    if (requestRanged_ ? response.status != 206 : response.status != 200 && response.status != 206)
        return strformat("status %ld", response.status);
    std::int64_t last = lastOffset();
    if (last < 0 && end < 0) {
        // No size was known: the body's own Content-Length (when sent) must have arrived whole.
        std::optional<std::uint64_t> announced = response.contentLength();
        if (announced && written < *announced) return std::string("short body");
        last = offset - 1;
    }
    if (offset <= last) {
        return strformat("short body: %lld of %lld bytes", static_cast<long long>(currentLength_),
                         static_cast<long long>(last - begin + 1));
    }
    finished_ = true;
    writeHandle_.reset();
    return std::nullopt;
}

void ZxFileSingleDownloader::pause() {
    pauseRequested_ = true;
}

}  // namespace examora
