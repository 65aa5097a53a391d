// ZxFileDownloader: the common state of the file downloaders.
#include "platform/zx_file_downloader.h"

namespace examora {

ZxFileDownloader::ZxFileDownloader(std::string url, std::filesystem::path destPath,
                                   std::shared_ptr<HttpTransport> transport)
    : url_(std::move(url)),
      destPath_(std::move(destPath)),
      transport_(transport ? std::move(transport) : HttpTransport::systemTransport()) {}

ZxFileDownloader::~ZxFileDownloader() = default;

}  // namespace examora
