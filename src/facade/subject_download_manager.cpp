// SubjectDownloadManager: a course download behind the progress dialog.
#include "facade/subject_download_manager.h"

#include "app/common_setting.h"
#include "platform/global_queue.h"
#include "platform/main_queue.h"
#include "platform/strformat.h"
#include "sync/client_data_exchange.h"
#include "sync/subject_download_rule.h"

namespace examora {

SubjectDownloadManager::SubjectDownloadManager(ProgressDialogView& downloadAlertView,
                                               DialogView& messages, Runner runInBackground)
    : downloadAlertView_(downloadAlertView),
      messages_(messages),
      runInBackground_(std::move(runInBackground)) {
    if (!runInBackground_) {
        runInBackground_ = [](std::function<void()> work) {
            GlobalQueue::async(QueuePriority::Default, std::move(work));
        };
    }
}

SubjectDownloadManager::~SubjectDownloadManager() {
    stop();
}

std::optional<std::string> SubjectDownloadManager::phaseTitle(int phase) {
    switch (phase) {
        case 0:
            return "正在下载章节档案";
        case 1:
            return "正在下载考试大纲";
        case 2:
            return "正在下载试卷";
        case SubjectFileDownloader::kPhaseDownloadPackage:
            return "正在下载试题库";
        case SubjectFileDownloader::kPhaseInstallPackage:
            return "正在安装试题库";
        default:
            return std::nullopt;
    }
}

void SubjectDownloadManager::showProgress(int phase, std::int64_t finished, std::int64_t total) {
    if (!running_ || running_->stop) return;
    if (phase != downObject_) {
        if (std::optional<std::string> title = phaseTitle(phase))
            downloadAlertView_.setProgressTitle(*title);
        downObject_ = phase;
        downloadAlertView_.setProgress(0);
        return;
    }
    if (std::optional<double> share = SubjectDownloadRule::progress(finished, total))
        downloadAlertView_.setProgress(*share * 100.0);
}

void SubjectDownloadManager::stop() {
    if (running_) running_->stop = true;
}

void SubjectDownloadManager::downloadSubject(bool rebuild) {
    if (running_) return;  // one download at a time
    downObject_ = -1;
    auto downloader = std::make_shared<SubjectFileDownloader>();
    running_ = downloader;
    // The downloader reports from its worker threads; what is shown is decided on the main queue.
    // Its blocks hold it weakly: a block holding its own downloader would keep both (and the
    // downloader's connection) alive for ever.
    std::weak_ptr<SubjectFileDownloader> weak = downloader;
    std::weak_ptr<int> life = life_;
    downloader->updateProgressBlock = [this, weak, life](int phase, std::int64_t finished,
                                                         std::int64_t total) {
        postToMain([this, weak, life, phase, finished, total] {
            if (life.expired()) return;
            const std::shared_ptr<SubjectFileDownloader> current = weak.lock();
            if (current && running_ == current) showProgress(phase, finished, total);
        });
    };
    downloader->completionBlock = [this, weak, life] {
        std::shared_ptr<SubjectFileDownloader> done = weak.lock();
        if (!done) return;
        postToMain([this, done, life] {
            if (life.expired() || running_ != done) return;
            running_.reset();
            const bool stopped = done->stop;
            downloadAlertView_.hideProgress();
            const std::string failure = done->failure();
            if (!stopped && !failure.empty()) {
                messages_.showDialog(kFailedTitle, strformat(kFailedMessage, failure),
                                     {kFailedButton}, [](int) {});
            }
            if (onFinished) onFinished(stopped, failure);
        });
    };
    downloadAlertView_.showProgress(kReadingTasks, [weak] {
        if (const std::shared_ptr<SubjectFileDownloader> running = weak.lock())
            running->stop = true;
    });
    const int courseId = CommonSetting::CourseId();
    const std::string district = CommonSetting::District();
    runInBackground_([downloader, courseId, district, rebuild] {
        downloader->startDownloadwithCourseId(courseId, kCourseType, district, rebuild, "");
    });
}

DownloadPrompts::Links SubjectDownloadManager::links() {
    DownloadPrompts::Links links;
    links.hasNewContent = [](int courseId) {
        ClientDataExchange exchange;
        try {
            return exchange.checkCourseHadNewUpdate(courseId, kCourseType);
        } catch (const ExamError&) {
            return false;
        }
    };
    links.downloadSubject = [this](bool rebuild) { downloadSubject(rebuild); };
    return links;
}

}  // namespace examora
