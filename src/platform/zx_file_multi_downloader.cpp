// ZxFileMultiDownloader: a file download in four ranged parts on a pre-sized file.
#include "platform/zx_file_multi_downloader.h"

#include <mutex>
#include <system_error>

#include "platform/operation_queue.h"

namespace examora {

ZxFileMultiDownloader::ZxFileMultiDownloader(std::string url, std::filesystem::path destPath,
                                             std::shared_ptr<HttpTransport> transport)
    : ZxFileDownloader(std::move(url), std::move(destPath), std::move(transport)) {}

ZxFileMultiDownloader::~ZxFileMultiDownloader() = default;

std::vector<std::pair<std::int64_t, std::int64_t>> ZxFileMultiDownloader::partRanges(
    std::int64_t total, int parts) {
    std::vector<std::pair<std::int64_t, std::int64_t>> ranges;
    if (total <= 0 || parts < 1) return ranges;
    const std::int64_t size = (total + parts - 1) / parts;
    for (int i = 0; i < parts; ++i) {
        const std::int64_t begin = i * size;
        if (begin >= total) break;
        ranges.emplace_back(begin, begin + size - 1);
    }
    return ranges;
}

std::optional<std::int64_t> ZxFileMultiDownloader::getFilesize() {
    HttpResponse r = transport().head(url(), kHeadTimeoutSeconds,
                                      {{"Cache-Control", "no-cache"}, {"Pragma", "no-cache"}});
    if (!r.completed() || r.status < 200 || r.status >= 300) return std::nullopt;
    std::optional<std::uint64_t> length = r.contentLength();
    if (!length) return -1;
    return static_cast<std::int64_t>(*length);
}

std::vector<std::unique_ptr<ZxFileSingleDownloader>>& ZxFileMultiDownloader::singleDownloaders() {
    if (partsMade_) return singleDownloaders_;
    partsMade_ = true;
    std::optional<std::int64_t> size = getFilesize();
    if (!size) {
        setupFailure_ = "cannot ask the size of " + url();
        return singleDownloaders_;
    }
    totalLength_ = *size;
    std::error_code ec;
    {
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(destPath().c_str(), "wb"),
                                                             &std::fclose);
        if (!file) ec = std::make_error_code(std::errc::io_error);
    }
    if (!ec && totalLength_ > 0)
        std::filesystem::resize_file(destPath(), static_cast<std::uintmax_t>(totalLength_), ec);
    if (ec) {
        setupFailure_ = "cannot create " + destPath().string();
        return singleDownloaders_;
    }
    auto forward = [this](std::int64_t bytes) {
        if (progressHandler) progressHandler(bytes);
    };
    if (totalLength_ < 0) {
        singleDownloaders_.push_back(std::make_unique<ZxFileSingleDownloader>(
            url(), destPath(), 0, -1, -1, sharedTransport()));
    } else {
        for (const auto& [first, last] : partRanges(totalLength_)) {
            singleDownloaders_.push_back(std::make_unique<ZxFileSingleDownloader>(
                url(), destPath(), first, last, totalLength_, sharedTransport()));
        }
    }
    for (auto& part : singleDownloaders_)
        part->progressHandler = forward;
    return singleDownloaders_;
}

std::optional<std::string> ZxFileMultiDownloader::start() {
    auto& parts = singleDownloaders();
    if (setupFailure_) return setupFailure_;
    isDownloading_ = true;
    std::mutex mutex;
    std::optional<std::string> failure;
    {
        OperationQueue queue(kParts);
        for (auto& part : parts) {
            ZxFileSingleDownloader* p = part.get();
            queue.addOperation([this, p, &mutex, &failure] {
                {
                    std::lock_guard<std::mutex> lock(mutex);
                    if (failure) return;  // a part failed before this one began
                }
                std::optional<std::string> result = p->start();
                if (!result) return;
                std::lock_guard<std::mutex> lock(mutex);
                if (!failure) {
                    failure = result;
                    // One part failing ends the download: the others stop at their next chunk.
                    for (auto& other : singleDownloaders_)
                        if (other.get() != p) other->pause();
                }
            });
        }
        queue.waitUntilAllOperationsAreFinished();
    }
    isDownloading_ = false;
    return failure;
}

void ZxFileMultiDownloader::pause() {
    for (auto& part : singleDownloaders_)
        part->pause();
}

}  // namespace examora
