#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "facade/screens/download_prompts.h"
#include "facade/views/dialog_view.h"
#include "facade/views/progress_dialog_view.h"
#include "sync/subject_file_downloader.h"

namespace examora {

// Runs a course download behind the progress dialog: titles by phase, the percentage (never
// above 100 %), the cancel button "暂不下载" that stops the download, and a message when the
// download did not complete (the course is then as it was, or its incomplete item sets keep
// their dates for the next run).
//
// Lives on the main queue: the dialog calls and the phase bookkeeping happen there; the download
// itself runs on the background runner (the default-priority global queue unless another is
// handed in) and its progress is posted to the main queue.
class SubjectDownloadManager {
  public:
    static constexpr const char* kReadingTasks = "正在读取下载任务";
    static constexpr const char* kCancel = "暂不下载";
    static constexpr const char* kFailedTitle = "提示";
    static constexpr const char* kFailedMessage = "题库下载失败：%@";
    static constexpr const char* kFailedButton = "知道了";
    // The course type value sent with every content call; this system keeps one kind per course.
    static constexpr int kCourseType = 0;

    using Runner = std::function<void(std::function<void()>)>;
    // Told on the main queue when a download ended: stopped, and the failure (empty for none).
    using Finished = std::function<void(bool stopped, const std::string& failure)>;

    SubjectDownloadManager(ProgressDialogView& downloadAlertView, DialogView& messages,
                           Runner runInBackground = {});
    // Stops a running download; what it still reports afterwards reaches nobody.
    ~SubjectDownloadManager();
    SubjectDownloadManager(const SubjectDownloadManager&) = delete;
    SubjectDownloadManager& operator=(const SubjectDownloadManager&) = delete;

    // The dialog title of a phase; nullopt for a phase without one (the title stays).
    static std::optional<std::string> phaseTitle(int phase);

    // Starts the download of CommonSetting's current course and district.
    void downloadSubject(bool rebuild);
    // The links the download prompts call: the new-content check and downloadSubject.
    DownloadPrompts::Links links();

    // The phase last shown; -1 at the start of a download.
    int downObject() const { return downObject_; }
    bool isRunning() const { return running_ != nullptr; }
    // Sets the running download's stop flag, as the cancel button does.
    void stop();
    Finished onFinished;

  private:
    void showProgress(int phase, std::int64_t finished, std::int64_t total);

    ProgressDialogView& downloadAlertView_;
    DialogView& messages_;
    Runner runInBackground_;
    int downObject_ = -1;
    std::shared_ptr<SubjectFileDownloader> running_;
    // Held by the manager alone: the download's reports, posted to the main queue, are dropped
    // once it is gone (the screen owning it may close while a download runs).
    std::shared_ptr<int> life_ = std::make_shared<int>(0);
};

}  // namespace examora
