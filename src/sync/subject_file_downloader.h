#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/http_transport.h"
#include "platform/zip_extractor.h"
#include "store/sqlite_helper.h"
#include "sync/client_data_exchange.h"

namespace examora {

// What a package install did.
struct PackageInstallResult {
    // The course now holds the package's content, and only it.
    bool installed = false;
    std::size_t files = 0;             // package files imported
    std::size_t records = 0;           // records written
    std::size_t pictures = 0;          // pictures moved into the course's picture folder
    std::vector<std::string> refused;  // archive entries refused for their names
    std::string error;                 // why not installed
};

// Brings one course's content onto the device: a whole package (download phase 21, install
// phase 22) or item set after item set (phases 0 chapters, 1 outline entries, 2 questions) in
// batches on an operation queue, reporting progress and honouring `stop`.
//
// Contract:
// - Errors: nothing is thrown. A package whose download fails is reported to the completion
//   handler with the error; an install that fails leaves the course as it was and says why.
// - Threads: the download and the install block the calling thread (run them off the main
//   queue); the progress block is called on the threads that make progress (the download's part
//   workers, the installing thread), so a screen posts what it shows to the main queue. `stop`
//   may be set from any thread.
// - Crash safety of the install: the pictures are placed first (never over an existing file),
//   then the marks, every record and the sweep are one transaction. After a kill at any point,
//   or a failure of any file, the course holds its old content with every learner column, or
//   the package's content with the learner columns of every question it kept; never a mixture.
class SubjectFileDownloader : public SQLiteHelper {
  public:
    static constexpr int kPhaseDownloadPackage = 21;
    static constexpr int kPhaseInstallPackage = 22;

    using CompletionBlock = std::function<void()>;
    using ProgressBlock = std::function<void(int phase, std::int64_t finished, std::int64_t total)>;
    // The archive path (nullopt when nothing was downloaded) and the failure (nullopt for none,
    // and when stopped or when the service names no package).
    using ZipCompletion = std::function<void(const std::optional<std::string>& path,
                                             const std::optional<std::string>& error)>;
    using ExchangeFactory = std::function<std::unique_ptr<ClientDataExchange>()>;

    // `makeExchange` makes each ClientDataExchange used (default: on CommonSetting::DbPath);
    // `transport` carries the package download (default: the system transport).
    explicit SubjectFileDownloader(ExchangeFactory makeExchange = {},
                                   std::shared_ptr<HttpTransport> transport = nullptr);
    ~SubjectFileDownloader() override;

    std::atomic<bool> stop{false};
    std::atomic<std::int64_t> totalCount{0};
    std::atomic<std::int64_t> finishedCount{0};
    std::atomic<int> downloadObject{0};
    CompletionBlock completionBlock;
    ProgressBlock updateProgressBlock;

    // --- the orchestration (subject_file_downloader.cpp) -----------------------------------------

    // Brings the course's content onto the device and then calls completionBlock: the package
    // (phases 21, 22) for a rebuild or a course none of whose questions was downloaded, else
    // the item sets 0 → 1 → 2. Blocks; `stop` ends it at the next batch or item set. failure()
    // says afterwards what did not complete (empty when everything did, or when stopped).
    void startDownloadwithCourseId(int courseId, int courseType, const std::string& district,
                                   bool rebuild, const std::string& filter);
    // The item set and the ones after it: its ids in batches of 25 on an operation queue of 5.
    // The item set's change date moves only when every batch is counted and written whole, to
    // the date the service gave with the id list; an empty list leaves it as it is.
    void downloadObject_withCourseType(int courseId, int courseType, const std::string& district,
                                       bool rebuild, ContentItemSet itemSet,
                                       const std::string& filter);
    // The ids of the item set to fetch (all of them for a rebuild or an item set never
    // downloaded); `lstdatestr` comes back as the date the service gave with the list.
    std::vector<int> loadListOfNeedDownloadwithCourseId(int courseId, int courseType,
                                                        const std::string& district, bool rebuild,
                                                        ContentItemSet itemSet,
                                                        const std::string& filter,
                                                        std::string& lstdatestr);
    const std::string& failure() const { return failure_; }

    // --- the package (subject_file_downloader_package.cpp) --------------------------------------

    // Downloads the course's package to "tmp.zip" in the documents folder (an old one removed
    // first) and hands its path to the handler; no path when the service names no package, when
    // stopped (logged "stop downloadsubjectfile") or on a failure (the error then, and the file
    // removed).
    void downloadCourseZipFileWithCourseId(int courseId, int courseType,
                                           const std::string& district,
                                           const ZipCompletion& completionHandler);
    // Unpacks the archive next to itself (its path without ".zip") and imports it. Nothing of
    // the course changes unless the archive was extracted completely and every package file in
    // it imported.
    PackageInstallResult InstallSubjectWithCourseId(int courseId, const std::string& fileName);
    // Empties the target folder, extracts the archive into it (logging "upzip fail" when the
    // extraction was not complete) and removes the archive.
    ZipExtractResult unZipFile(const std::string& fileName, const std::string& targetPath);

    // The package address: the download base cut after its last "/", then the relative path.
    static std::string packageURL(const std::string& downloadBase, const std::string& relative);

  protected:
    void reportProgress(int phase, std::int64_t finished, std::int64_t total);
    std::unique_ptr<ClientDataExchange> makeExchange();

  private:
    void finish();
    ExchangeFactory makeExchange_;
    std::string failure_;
    std::shared_ptr<HttpTransport> transport_;
};

}  // namespace examora
