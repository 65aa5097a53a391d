#pragma once

#include <vector>

#include "facade/api_manager.h"
#include "facade/views/dialog_view.h"
#include "facade/views/navigation_view.h"
#include "facade/views/practice_launcher.h"
#include "facade/views/row_list_view.h"
#include "facade/views/tip_view.h"
#include "facade/views/title_view.h"

namespace examora {

// The paper list of the current course ("考卷清单"): every paper with its memo; "随机组卷" opens
// the creation form, and per paper "开始考试" takes it, "查看解析" reviews it and "删除试卷"
// deletes it after a confirmation. A paper just created is taken at once.
class PaperListScreen {
  public:
    static constexpr const char* kRoute = "paper_list";
    static constexpr const char* kTitle = "考卷清单";
    static constexpr const char* kCreateButton = "随机组卷";
    static constexpr const char* kStartButton = "开始考试";
    static constexpr const char* kReviewButton = "查看解析";
    static constexpr const char* kDeleteButton = "删除试卷";
    static constexpr const char* kCreateRoute = "paper_create";

    struct Views {
        TitleView& title;
        RowListView& rows;
        DialogView& dialog;
        TipView& tip;
        NavigationView& navigation;
        PracticeLauncher& practice;
    };

    PaperListScreen(APIManager& api, Views views);

    void open();
    // The screen is shown again: the list reloads.
    void reload();
    void createPaper();
    // The creation form's answer: the new paper is listed and taken.
    void paperCreated(int paperId);
    void startPaper(int row);
    void reviewPaper(int row);
    void deletePaper(int row);

    const std::vector<BaseItemEntity>& papers() const { return papers_; }

  private:
    int paperIdAt(int row) const;

    APIManager& api_;
    Views views_;
    std::vector<BaseItemEntity> papers_;
};

}  // namespace examora
