#pragma once

#include <vector>

#include "facade/api_manager.h"
#include "facade/views/label_view.h"
#include "facade/views/practice_launcher.h"
#include "facade/views/row_list_view.h"
#include "facade/views/tab_view.h"
#include "facade/views/tip_view.h"

namespace examora {

// The memory review: tab "科学记忆" lists the eight review periods of the forgetting curve with
// their counts (a period opens practice on its wrong answers, or says "该阶段没有记忆的题库！"
// when it holds none); tab "艾宾浩斯" explains the schedule.
class EbbinghausScreen {
  public:
    static constexpr const char* kRoute = "ebbinghaus";
    static constexpr int kPeriodsTab = 0;
    static constexpr int kExplanationTab = 1;
    // Label names of the explanation tab.
    static constexpr const char* kIntroHeading = "intro_heading";
    static constexpr const char* kIntroText = "intro_text";
    static constexpr const char* kPeriodsHeading = "periods_heading";

    struct Views {
        TabView& tabs;
        RowListView& rows;
        LabelView& labels;
        TipView& tip;
        PracticeLauncher& practice;
    };

    EbbinghausScreen(APIManager& api, Views views);

    void open();
    void selectTab(int tab);
    void selectRow(int row);
    // The screen is shown again after practice: the counts reload.
    void reload();

    const std::vector<BaseItemEntity>& periods() const { return periods_; }

  private:
    APIManager& api_;
    Views views_;
    int tab_ = kPeriodsTab;
    std::vector<BaseItemEntity> periods_;
};

}  // namespace examora
