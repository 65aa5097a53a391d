#pragma once

#include <string>
#include <variant>
#include <vector>

#include "facade/api_manager.h"
#include "facade/views/navigation_view.h"
#include "facade/views/practice_launcher.h"
#include "facade/views/row_list_view.h"
#include "facade/views/tab_view.h"
#include "facade/views/tip_view.h"
#include "facade/views/title_view.h"

namespace examora {

// The wrong-answer drill of one filter type (1 open, 2 set aside) with its three tabs: the
// chapters holding wrong answers (a chapter opens its selection list), the wrong answers by how
// often they were wrong, and by how long ago they were answered (an item opens practice in mode
// 5 on its subjects, or says "没有任何试题" when it holds none).
class ErrorDrillScreen {
  public:
    static constexpr const char* kRoute = "wrong_drill";
    static constexpr const char* kSelectListRoute = "select_subject";
    static constexpr int kChaptersTab = 0;
    static constexpr int kCountTab = 1;
    static constexpr int kPeriodTab = 2;

    struct Views {
        TitleView& title;
        TabView& tabs;
        RowListView& rows;
        TipView& tip;
        NavigationView& navigation;
        PracticeLauncher& practice;
    };

    ErrorDrillScreen(APIManager& api, Views views, int errFilterType);

    // The title, the tabs and the chapters tab.
    void open();
    void selectTab(int tab);
    void selectRow(int row);
    // The screen is shown again after practice: the tab shown reloads.
    void reload();

    int tab() const { return tab_; }
    const APIManager::ErrSubjectList& list() const { return list_; }

  private:
    APIManager& api_;
    Views views_;
    int errFilterType_;
    int tab_ = kChaptersTab;
    APIManager::ErrSubjectList list_;
};

}  // namespace examora
