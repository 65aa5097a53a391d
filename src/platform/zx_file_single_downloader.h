#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "platform/zx_file_downloader.h"

namespace examora {

// One part of a file download: bytes `begin` to `end` (both included) of the file at the URL,
// written at the same offsets of the destination through a handle of its own, so that parts run
// side by side on one pre-sized file. `end` below 0 asks for the rest of the file, for a server
// that gave no size (the whole file then, with 200 accepted only from offset 0).
//
// The request asks "Range: bytes=<begin + currentLength>-<end>", so a start after pause()
// resumes. The part fails, and stops writing at once, when the server answers a ranged request
// with anything but 206 (a 200 carries the whole file and would overwrite the other parts), when
// it sends bytes past the part, when the body ends before the part is complete (`end` is capped
// at `totalLength` − 1 when that is known), or on a time-out, a stall or a transport error.
class ZxFileSingleDownloader : public ZxFileDownloader {
  public:
    // Time-out of a whole part, and the longest pause of the data before it counts as stalled.
    static constexpr double kTimeoutSeconds = 300;
    static constexpr long kStallSeconds = 30;

    ZxFileSingleDownloader(std::string url, std::filesystem::path destPath, std::int64_t begin,
                           std::int64_t end, std::int64_t totalLength,
                           std::shared_ptr<HttpTransport> transport = nullptr);
    ~ZxFileSingleDownloader() override;

    std::optional<std::string> start() override;
    void pause() override;

    // The request start() sends next.
    HttpRequest request() const;
    // Whether every byte of the part is written.
    bool finished() const { return finished_; }

    const std::int64_t begin;
    const std::int64_t end;
    const std::int64_t totalLength;  // below 0: unknown
    // Bytes of the part written so far.
    std::int64_t currentLength() const { return currentLength_; }

  private:
    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    // The last offset this part must write, or -1 when it runs to an unknown end.
    std::int64_t lastOffset() const;
    bool writeChunk(long status, const char* data, std::size_t size, std::string& failure);

    std::unique_ptr<std::FILE, FileCloser> writeHandle_;
    std::atomic<std::int64_t> currentLength_{0};
    std::atomic<bool> pauseRequested_{false};
    bool finished_ = false;
    bool requestRanged_ = false;
};

}  // namespace examora
