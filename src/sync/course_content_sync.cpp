// CourseContentSync: the plain driver that brings a course's three item sets up to date.
#include "sync/course_content_sync.h"

#include <exception>
#include <mutex>

#include "app/common_setting.h"
#include "platform/log.h"
#include "platform/operation_queue.h"
#include "platform/strformat.h"
#include "sync/client_data_exchange.h"

namespace examora {

namespace {

ContentBatchResult downloadBatch(int courseId, ContentItemSet itemSet,
                                 const std::vector<int>& ids) {
    ClientDataExchange exchange;
    try {
        switch (itemSet) {
            case ContentItemSet::Chapter:
                return exchange.downloadCourseChapter(courseId, ids);
            case ContentItemSet::Outline:
                return exchange.downloadCourseOutline(courseId, ids);
            case ContentItemSet::Subject:
                return exchange.downloadCourseSubject(courseId, ids);
        }
    } catch (const ExamError& e) {
        logf("download%d fail:%@", static_cast<int>(itemSet), e.reason());
    } catch (const std::exception& e) {
        logf("download%d fail:%@", static_cast<int>(itemSet), e.what());
    }
    ContentBatchResult failed;
    failed.asked = ids.size();
    return failed;
}

}  // namespace

std::vector<ContentItemSetReport> CourseContentSync::run(const Options& options) {
    std::vector<ContentItemSetReport> reports;
    for (ContentItemSet itemSet :
         {ContentItemSet::Chapter, ContentItemSet::Outline, ContentItemSet::Subject}) {
        reports.push_back(runItemSet(options, itemSet));
    }
    return reports;
}

ContentItemSetReport CourseContentSync::runItemSet(const Options& options, ContentItemSet itemSet) {
    ContentItemSetReport report;
    report.itemSet = itemSet;
    ClientDataExchange exchange;
    const int course = options.courseId;
    const bool full = !exchange.checkHadDownloadLog(course, itemSet);
    std::string date;
    std::vector<int> ids;
    switch (itemSet) {
        case ContentItemSet::Chapter:
            ids = exchange.loadCourseChapterIdNeedDownload(course, options.courseType,
                                                           options.district, full, date);
            break;
        case ContentItemSet::Outline:
            ids = exchange.loadCourseOutlineIdNeedDownload(course, options.courseType,
                                                           options.district, full, date);
            break;
        case ContentItemSet::Subject:
            ids = exchange.loadCourseSubjectIdNeedDownload(
                course, options.courseType, options.district, full, date,
                CommonSetting::DownloadSubjectType() != 0);
            break;
    }
    report.listDelivered = exchange.service().lastCallDelivered();
    report.listed = ids.size();

    if (report.listDelivered) {
        const std::vector<std::vector<int>> batches = ContentItemRule::batches(ids);
        report.batches = batches.size();
        std::mutex mutex;
        auto count = [&](const ContentBatchResult& r) {
            std::lock_guard<std::mutex> lock(mutex);
            report.written += r.written;
            report.unchanged += r.unchanged;
            report.pictures += r.pictures;
            if (!r.allWritten) ++report.failedBatches;
        };
        if (options.concurrency <= 1) {
            for (const std::vector<int>& batch : batches)
                count(downloadBatch(course, itemSet, batch));
        } else {
            OperationQueue queue(options.concurrency);
            for (const std::vector<int>& batch : batches) {
                queue.addOperation([&, batch] { count(downloadBatch(course, itemSet, batch)); });
            }
            queue.waitUntilAllOperationsAreFinished();
        }
        if (report.failedBatches == 0) {
            report.dateStored = exchange.updateCourseChangeDate(course, itemSet, date);
            if (!report.dateStored) logf("update changedate error:%@", date);
        }
    }
    report.storedDate =
        exchange
            .ExecuteScalarString(strformat("select %@ from course where icourseid=%d",
                                           ContentItemRule::changeColumn(itemSet), course),
                                 {})
            .value_or(std::string());
    return report;
}

}  // namespace examora
