// SubjectFileDownloader: download, unpacking and install of a course package.
#include <algorithm>
#include <system_error>

#include "app/common_setting.h"
#include "platform/log.h"
#include "platform/paths.h"
#include "platform/text_util.h"
#include "platform/zx_file_multi_downloader.h"
#include "service/asi_service_args.h"
#include "store/database_scope.h"
#include "sync/subject_file_downloader.h"

namespace examora {

namespace fs = std::filesystem;

SubjectFileDownloader::SubjectFileDownloader(ExchangeFactory makeExchange,
                                             std::shared_ptr<HttpTransport> transport)
    : makeExchange_(std::move(makeExchange)), transport_(std::move(transport)) {}

SubjectFileDownloader::~SubjectFileDownloader() = default;

std::unique_ptr<ClientDataExchange> SubjectFileDownloader::makeExchange() {
    return makeExchange_ ? makeExchange_() : std::make_unique<ClientDataExchange>();
}

void SubjectFileDownloader::reportProgress(int phase, std::int64_t finished, std::int64_t total) {
    if (updateProgressBlock) updateProgressBlock(phase, finished, total);
}

std::string SubjectFileDownloader::packageURL(const std::string& downloadBase,
                                              const std::string& relative) {
    const std::size_t slash = downloadBase.rfind('/');
    const std::string base =
        slash == std::string::npos ? downloadBase + "/" : downloadBase.substr(0, slash + 1);
    return base + relative;
}

void SubjectFileDownloader::downloadCourseZipFileWithCourseId(
    int courseId, int courseType, const std::string& district,
    const ZipCompletion& completionHandler) {
    const std::string relative =
        makeExchange()->getCourseUpdateName(courseId, courseType, district);
    if (relative.empty()) {
        completionHandler(std::nullopt, std::nullopt);
        return;
    }
    const fs::path dest = fs::path(Paths::documentsDirectory()) / "tmp.zip";
    std::error_code ec;
    fs::remove(dest, ec);
    finishedCount = 0;
    totalCount = 0;
    downloadObject = kPhaseDownloadPackage;

    ZxFileMultiDownloader downloader(packageURL(ASIServiceArgs::getDownloadSubjectURL(), relative),
                                     dest, transport_);
    downloader.progressHandler = [this, &downloader](std::int64_t bytes) {
        const std::int64_t finished = finishedCount += bytes;
        if (totalCount == 0) totalCount = downloader.totalLength();
        if (stop) {
            downloader.pause();
            return;
        }
        if (finished < totalCount && downloadObject == kPhaseDownloadPackage)
            reportProgress(kPhaseDownloadPackage, finished, totalCount);
    };
    std::optional<std::string> failure = downloader.start();
    if (stop) {
        logf("stop downloadsubjectfile");
        fs::remove(dest, ec);
        completionHandler(std::nullopt, std::nullopt);
        return;
    }
    if (failure) {
        logf("downloadsubjectfile fail:%@", *failure);
        fs::remove(dest, ec);
        completionHandler(std::nullopt, failure);
        return;
    }
    logf("finish downloadsubjectfile");
    const std::int64_t total = std::max<std::int64_t>(finishedCount, totalCount);
    reportProgress(kPhaseDownloadPackage, total, total);
    downloadObject = kPhaseInstallPackage;
    reportProgress(kPhaseInstallPackage, 0, 100);
    completionHandler(dest.string(), std::nullopt);
}

ZipExtractResult SubjectFileDownloader::unZipFile(const std::string& fileName,
                                                  const std::string& targetPath) {
    std::error_code ec;
    fs::remove_all(targetPath, ec);
    fs::create_directories(targetPath, ec);
    ZipExtractResult result = ZipExtractor::extract(fileName, targetPath);
    if (!result.complete) logf("upzip fail");
    fs::remove(fileName, ec);
    return result;
}

PackageInstallResult SubjectFileDownloader::InstallSubjectWithCourseId(
    int courseId, const std::string& fileName) {
    PackageInstallResult result;
    std::string folder = fileName;
    if (endsWith(folder, ".zip")) folder.resize(folder.size() - 4);
    if (folder == fileName) folder += ".unpacked";
    std::error_code ec;
    struct FolderRemover {
        std::string path;
        ~FolderRemover() {
            std::error_code e;
            fs::remove_all(path, e);
        }
    } remover{folder};

    ZipExtractResult unzip = unZipFile(fileName, folder);
    result.refused = unzip.refused;
    if (!unzip.complete) {
        result.error = "the archive could not be extracted completely";
        for (const std::string& e : unzip.errors)
            result.error += "; " + e;
        return result;
    }

    std::vector<fs::directory_entry> entries;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        entries.push_back(entry);
    // Questions before the end of the listing; a stable order keeps runs comparable.
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.path() < b.path(); });
    // A package without its course, chapter and outline lists is not whole: importing it would
    // sweep content it merely lacks.
    for (const char* needed : {"course.txt", "coursechapter.txt", "courseoutline.txt"}) {
        const bool present = std::any_of(entries.begin(), entries.end(), [&](const auto& e) {
            return toLowerAscii(e.path().filename().string()) == needed;
        });
        if (!present) {
            result.error = std::string("the package lacks ") + needed;
            return result;
        }
    }
    totalCount = static_cast<std::int64_t>(entries.size());
    finishedCount = 0;

    // Pictures first, outside the transaction: a picture no row refers to yet is harmless, and
    // an existing picture is never replaced.
    for (const auto& entry : entries) {
        if (!entry.is_directory(ec) || toLowerAscii(entry.path().filename().string()) != "image")
            continue;
        const fs::path pictures = fs::path(CommonSetting::ImagePath()) / std::to_string(courseId);
        fs::create_directories(pictures, ec);
        for (const auto& picture : fs::directory_iterator(entry.path(), ec)) {
            if (!picture.is_regular_file(ec) || picture.is_symlink(ec)) continue;
            const fs::path to = pictures / picture.path().filename();
            if (fs::exists(fs::symlink_status(to, ec))) continue;
            fs::rename(picture.path(), to, ec);
            if (!ec) ++result.pictures;
        }
    }

    std::unique_ptr<ClientDataExchange> exchange = makeExchange();
    DatabaseScope scope(*exchange);
    if (!exchange->BeginTran()) {
        result.error = "no transaction could be begun";
        return result;
    }
    try {
        exchange->startDownloadCourseByFile(courseId);
        std::int64_t handled = 0;
        for (const auto& entry : entries) {
            ++handled;
            if (!entry.is_regular_file(ec) || entry.is_symlink(ec)) continue;
            std::optional<std::size_t> written =
                exchange->importPackageFile(entry.path(), courseId);
            if (!written) continue;
            ++result.files;
            result.records += *written;
            finishedCount = handled;
            if (downloadObject == kPhaseInstallPackage)
                reportProgress(kPhaseInstallPackage, handled, totalCount);
        }
        exchange->endDownloadCourseByFile(courseId);
    } catch (const ExamError& e) {
        exchange->RollbackTran();
        result.error = e.name() + ": " + e.reason();
        logf("install subject error:%@", result.error);
        return result;
    } catch (const std::exception& e) {
        exchange->RollbackTran();
        result.error = e.what();
        logf("install subject error:%@", result.error);
        return result;
    }
    if (!exchange->CommitTran()) {
        result.error = "commit failed";
        return result;
    }
    result.installed = true;
    return result;
}

}  // namespace examora
