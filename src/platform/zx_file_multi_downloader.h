#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/zx_file_downloader.h"
#include "platform/zx_file_single_downloader.h"

namespace examora {

// A file download in kParts byte ranges fetched side by side, each part writing its own range of
// the destination, which is created at the file's full length first.
//
// The size comes from a HEAD request (15 s). When the server names none, the file is fetched in
// one part instead (there is nothing to cut); when the HEAD fails, start() fails. start() runs the
// parts on an operation queue of kParts workers and returns when all have ended: nullopt when
// every part is complete, else the first part's failure, after the other parts were paused (a
// later start() resumes the parts not complete).
class ZxFileMultiDownloader : public ZxFileDownloader {
  public:
    static constexpr int kParts = 4;
    static constexpr double kHeadTimeoutSeconds = 15;

    ZxFileMultiDownloader(std::string url, std::filesystem::path destPath,
                          std::shared_ptr<HttpTransport> transport = nullptr);
    ~ZxFileMultiDownloader() override;

    std::optional<std::string> start() override;
    void pause() override;

    // The file's size from a HEAD request: nullopt when the request failed, -1 when the server
    // named no size.
    std::optional<std::int64_t> getFilesize();
    // The parts, made on first use (the HEAD request and the pre-sized file with them); empty
    // when the size could not be asked.
    std::vector<std::unique_ptr<ZxFileSingleDownloader>>& singleDownloaders();

    // The byte ranges (first, last; the last may run past the end) of a file of `total` bytes:
    // parts of total / parts rounded up; parts starting at or past the end are left out.
    static std::vector<std::pair<std::int64_t, std::int64_t>> partRanges(std::int64_t total,
                                                                         int parts = kParts);

    // -1 until known, or when the server named no size.
    std::int64_t totalLength() const { return totalLength_; }

  private:
    std::int64_t totalLength_ = -1;
    bool partsMade_ = false;
    std::optional<std::string> setupFailure_;
    std::vector<std::unique_ptr<ZxFileSingleDownloader>> singleDownloaders_;
};

}  // namespace examora
