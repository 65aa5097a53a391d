#pragma once

#include <string>
#include <vector>

#include "facade/views/list_chooser_view.h"
#include "facade/views/navigation_view.h"
#include "facade/views/row_list_view.h"
#include "facade/views/switch_view.h"
#include "facade/views/title_view.h"

namespace examora {

// The display settings ("软件设置"): the question text size (five steps), keeping the screen lit
// while answering, night mode, "恢复默认", and the way to the clearing of the course's records
// ("清空题库缓存"). Each change is stored in the custom settings at once and the question page's
// settings are loaded again, so the next page shows it.
class PageSettingsScreen {
  public:
    static constexpr const char* kRoute = "settings";
    static constexpr const char* kTitle = "软件设置";
    static constexpr const char* kFontSizeRow = "字体大小";
    static constexpr const char* kScreenLightSwitch = "答题时屏幕常亮";
    static constexpr const char* kNightModeSwitch = "夜间模式";
    static constexpr const char* kRestoreRow = "恢复默认";
    static constexpr const char* kClearRow = "清空题库缓存";
    static constexpr const char* kClearRoute = "clear_data";
    // "ifontsize" 1 to 5, in order.
    static std::vector<std::string> fontSizeNames();
    static constexpr int kDefaultFontSize = 2;

    struct Views {
        TitleView& title;
        RowListView& rows;
        SwitchView& switches;
        ListChooserView& chooser;
        NavigationView& navigation;
    };

    explicit PageSettingsScreen(Views views) : views_(views) {}

    void open();
    // "字体大小" opens the five sizes, the current one marked.
    void chooseFontSize();
    // Sets size step 1–5; other values change nothing.
    void setFontSize(int size);
    void setScreenLight(bool on);
    void setNightMode(bool on);
    // Size 2, day mode, screen not kept lit.
    void restoreDefaults();
    void openClearing();

    // Whether anything was changed since the screen opened (the practice session rebuilds its
    // pages then).
    bool changed() const { return changed_; }
    // The stored size step, 2 when unset or out of range.
    static int fontSize();

  private:
    void show();
    void store(const char* name, int value);

    Views views_;
    bool changed_ = false;
};

}  // namespace examora
