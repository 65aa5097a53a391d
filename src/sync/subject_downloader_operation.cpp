// SubjectDownloaderOperation: one batch of a course's item set, fetched and written.
#include "sync/subject_downloader_operation.h"

#include <exception>

#include "platform/log.h"

namespace examora {

SubjectDownloaderOperation::SubjectDownloaderOperation(int courseId, ContentItemSet downloadObject,
                                                       std::vector<int> downloadList)
    : courseId(courseId),
      downloadObject(downloadObject),
      lstDownload(std::move(downloadList)),
      sequence(nextSequence()) {}

std::int64_t SubjectDownloaderOperation::nextSequence() {
    static std::atomic<std::int64_t> counter{0};
    return ++counter;
}

ContentBatchResult SubjectDownloaderOperation::main() {
    ContentBatchResult failed;
    failed.asked = lstDownload.size();
    if (stop) return failed;
    try {
        ClientDataExchange exchange;
        switch (downloadObject) {
            case ContentItemSet::Chapter:
                return exchange.downloadCourseChapter(courseId, lstDownload);
            case ContentItemSet::Outline:
                return exchange.downloadCourseOutline(courseId, lstDownload);
            case ContentItemSet::Subject:
                return exchange.downloadCourseSubject(courseId, lstDownload);
        }
    } catch (const ExamError& e) {
        logf("download%d fail:%@", static_cast<int>(downloadObject), e.reason());
    } catch (const std::exception& e) {
        logf("download%d fail:%@", static_cast<int>(downloadObject), e.what());
    }
    return failed;
}

}  // namespace examora
