#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/http_transport.h"

namespace examora {

// A file download from `url` into `destPath`, the common face of the whole-file downloader and
// its ranged parts.
//
// Contract:
// - start() runs the download and blocks until it ended; callers run it off the main queue. It
//   answers nullopt when every byte is in the file, else why not ("paused" after pause()). A
//   failure is always reported: a request that fails, stalls or times out, an answer that is not
//   the one asked for, or a body shorter than announced.
// - pause() may be called from any thread; the running start() returns at its next chunk and a
//   later start() continues where it stopped.
// - progressHandler receives the byte count of every chunk written, on the thread that runs
//   start() (for a multi-part download, on each part's worker thread at once).
class ZxFileDownloader {
  public:
    using ProgressHandler = std::function<void(std::int64_t bytes)>;

    ZxFileDownloader(std::string url, std::filesystem::path destPath,
                     std::shared_ptr<HttpTransport> transport);
    virtual ~ZxFileDownloader();
    ZxFileDownloader(const ZxFileDownloader&) = delete;
    ZxFileDownloader& operator=(const ZxFileDownloader&) = delete;

    const std::string& url() const { return url_; }
    const std::filesystem::path& destPath() const { return destPath_; }
    bool isDownloading() const { return isDownloading_; }

    virtual std::optional<std::string> start() = 0;
    virtual void pause() = 0;

    ProgressHandler progressHandler;

  protected:
    HttpTransport& transport() { return *transport_; }
    std::shared_ptr<HttpTransport> sharedTransport() const { return transport_; }

    std::atomic<bool> isDownloading_{false};

  private:
    std::string url_;
    std::filesystem::path destPath_;
    std::shared_ptr<HttpTransport> transport_;
};

}  // namespace examora
