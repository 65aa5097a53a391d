// SubjectFileDownloader: the path choice and the item-set path of the download orchestration.
#include "sync/subject_file_downloader.h"

#include <memory>

#include "app/common_setting.h"
#include "platform/log.h"
#include "platform/operation_queue.h"
#include "sync/subject_download_rule.h"
#include "sync/subject_downloader_operation.h"

namespace examora {

void SubjectFileDownloader::finish() {
    if (completionBlock) completionBlock();
}

void SubjectFileDownloader::startDownloadwithCourseId(int courseId, int courseType,
                                                      const std::string& district, bool rebuild,
                                                      const std::string& filter) {
    stop = false;
    downloadObject = 0;
    totalCount = 0;
    finishedCount = 0;
    failure_.clear();
    const bool anyQuestion = makeExchange()->checkCourseItemHadDownloaded(
        courseId, SubjectDownloadRule::kDownloadedSince, ContentItemSet::Subject);
    logf("start downloadsubject");
    if (!SubjectDownloadRule::usePackage(rebuild, anyQuestion)) {
        downloadObject_withCourseType(courseId, courseType, district, false,
                                      ContentItemSet::Chapter, filter);
        return;
    }
    downloadCourseZipFileWithCourseId(
        courseId, courseType, district,
        [&](const std::optional<std::string>& path, const std::optional<std::string>& error) {
            if (error) failure_ = *error;
            if (!path) return;
            PackageInstallResult r = InstallSubjectWithCourseId(courseId, *path);
            if (!r.installed) failure_ = r.error;
        });
    finish();
}

std::vector<int> SubjectFileDownloader::loadListOfNeedDownloadwithCourseId(
    int courseId, int courseType, const std::string& district, bool rebuild, ContentItemSet itemSet,
    const std::string& /*filter*/, std::string& lstdatestr) {
    std::unique_ptr<ClientDataExchange> exchange = makeExchange();
    const bool full = rebuild || !exchange->checkHadDownloadLog(courseId, itemSet);
    lstdatestr.clear();
    switch (itemSet) {
        case ContentItemSet::Chapter:
            return exchange->loadCourseChapterIdNeedDownload(courseId, courseType, district, full,
                                                             lstdatestr);
        case ContentItemSet::Outline:
            return exchange->loadCourseOutlineIdNeedDownload(courseId, courseType, district, full,
                                                             lstdatestr);
        case ContentItemSet::Subject:
            return exchange->loadCourseSubjectIdNeedDownload(
                courseId, courseType, district, full, lstdatestr,
                CommonSetting::DownloadSubjectType() != 0);
    }
    return {};
}

void SubjectFileDownloader::downloadObject_withCourseType(int courseId, int courseType,
                                                          const std::string& district, bool rebuild,
                                                          ContentItemSet first,
                                                          const std::string& filter) {
    for (int set = static_cast<int>(first); set <= 2 && !stop; ++set) {
        const ContentItemSet itemSet = static_cast<ContentItemSet>(set);
        std::string date;
        const std::vector<int> ids = loadListOfNeedDownloadwithCourseId(
            courseId, courseType, district, rebuild, itemSet, filter, date);
        if (ids.empty() || stop) {
            // An empty list leaves the item set's date as it is.
            if (set < 2) logf("step download%d", set);
            continue;
        }
        const auto total = static_cast<std::int64_t>(ids.size());
        totalCount = total;
        downloadObject = set;
        finishedCount = 0;
        reportProgress(set, 0, total);

        std::atomic<bool> everyBatchWritten{true};
        {
            OperationQueue queue(SubjectDownloadRule::kMaxConcurrentBatches);
            for (const std::vector<int>& batch : ContentItemRule::batches(ids)) {
                if (stop) {
                    queue.cancelAllOperations();
                    break;
                }
                auto operation =
                    std::make_shared<SubjectDownloaderOperation>(courseId, itemSet, batch);
                queue.addOperation([this, operation, set, total, &everyBatchWritten] {
                    // A batch not begun before the stop is not counted: its item set then
                    // keeps its date.
                    if (stop) return;
                    if (!operation->main().allWritten) everyBatchWritten = false;
                    std::int64_t done = finishedCount.load();
                    while (!finishedCount.compare_exchange_weak(
                        done, SubjectDownloadRule::countAfterBatch(done))) {
                    }
                    done = SubjectDownloadRule::countAfterBatch(done);
                    logf("download%d progress%ld/%ld", set, static_cast<long>(done),
                         static_cast<long>(total));
                    if (!SubjectDownloadRule::itemSetCounted(done, total))
                        reportProgress(set, done, total);
                });
            }
            queue.waitUntilAllOperationsAreFinished();
        }
        if (!SubjectDownloadRule::itemSetCounted(finishedCount, total)) break;  // stopped
        std::optional<std::string> stored =
            SubjectDownloadRule::dateToStore(everyBatchWritten, date, GetDateNow());
        if (!stored) {
            failure_ = "some records of item set " + std::to_string(set) + " were not stored";
        } else if (!makeExchange()->updateCourseChangeDate(courseId, itemSet, *stored)) {
            logf("update changedate error:%@", *stored);
            failure_ = "the change date could not be stored";
        }
        reportProgress(set, total, total);
        if (set < 2) logf("finish download%d", set);
    }
    if (!stop) logf("finish downloadsubject");
    finish();
}

}  // namespace examora
