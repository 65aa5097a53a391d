#pragma once

#include <functional>

#include "engine/course_util.h"
#include "facade/views/dialog_view.h"
#include "facade/views/list_chooser_view.h"

namespace examora {

// The prompts that start a course download from the main screen: the offer of new content, the
// offline refusal, the Wi-Fi warning and the district choice. The download itself, and the
// check for new content, are handed in: they belong to the download orchestration and the
// content synchronisation.
//
// Lives on the main queue; the dialogs' answers arrive there too.
class DownloadPrompts {
  public:
    struct Links {
        // Whether the service holds newer content of the course than the device (the facade's
        // checkCourseHadNewUpdate_withCourseId row). Empty: never.
        std::function<bool(int courseId)> hasNewContent;
        // Starts the download of the current course, rebuilding it whole when asked
        // (SubjectDownloadManager's downloadSubject). Empty: nothing starts.
        std::function<void(bool rebuild)> downloadSubject;
    };

    static constexpr const char* kOfferTitle = "题库下载...";
    static constexpr const char* kOfferMessage =
        "下载的题库可能比较大，请在有Wifi的环境下下载！！！";
    static constexpr const char* kReloadTitle = "题库重新下载...";
    static constexpr const char* kReloadMessage = "题库将重新下载，请在有Wifi的环境下下载！！！";
    static constexpr const char* kNotNow = "暂不下载";
    static constexpr const char* kStart = "开始下载";
    static constexpr const char* kOfflineTitle = "提示";
    static constexpr const char* kOfflineMessage = "离线状态无法下载题库！！！";
    static constexpr const char* kOfflineButton = "知道了";
    static constexpr const char* kDistrictTitle = "地区选择";

    DownloadPrompts(CourseUtil& course, DialogView& dialog, ListChooserView& chooser, Links links)
        : course_(course), dialog_(dialog), chooser_(chooser), links_(std::move(links)) {}

    // With `check`: only while online, offers the download (no rebuild) when the course has new
    // content; offline nothing is shown. Without: refuses while offline, otherwise warns and, on
    // "开始下载", rebuilds the course, first asking for the district when none is set and the
    // course has districts.
    void startDownloadSubject(bool check);

  private:
    void rebuild();

    CourseUtil& course_;
    DialogView& dialog_;
    ListChooserView& chooser_;
    Links links_;
};

}  // namespace examora
