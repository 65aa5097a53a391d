#pragma once

#include "facade/api_manager.h"
#include "facade/views/dialog_view.h"
#include "facade/views/switch_view.h"
#include "facade/views/tip_view.h"
#include "facade/views/title_view.h"

namespace examora {

// The clearing of the learner's records of the current course: practice records, favourites and
// mock examination records, each chosen by a switch. "清空" asks "确定要清空吗?" first and clears
// only on "确定"; then reports "清空完成！" (or the failure's reason).
class ClearDataScreen {
  public:
    static constexpr const char* kRoute = "clear_data";
    static constexpr const char* kTitle = "清空题库缓存";
    static constexpr const char* kTestHistory = "清除题库练习记录";
    static constexpr const char* kCollect = "清除我的收藏记录";
    static constexpr const char* kPapers = "清除模拟考试记录";
    static constexpr const char* kClearButton = "清空";
    static constexpr const char* kConfirmTitle = "提示";
    static constexpr const char* kConfirmMessage = "确定要清空吗?";
    static constexpr const char* kCancel = "取消";
    static constexpr const char* kConfirm = "确定";
    static constexpr const char* kDone = "清空完成！";

    struct Views {
        TitleView& title;
        SwitchView& switches;
        DialogView& dialog;
        TipView& tip;
    };

    ClearDataScreen(APIManager& api, Views views) : api_(api), views_(views) {}

    // The three switches, all off.
    void open();
    // A switch flipped, by its caption; other captions change nothing.
    void setItem(const std::string& caption, bool on);
    // "清空": with nothing chosen nothing happens.
    void clear();

  private:
    APIManager& api_;
    Views views_;
    bool testHistory_ = false;
    bool collect_ = false;
    bool papers_ = false;
};

}  // namespace examora
