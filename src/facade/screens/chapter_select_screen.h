#pragma once

#include <string>
#include <vector>

#include "facade/api_manager.h"
#include "facade/views/navigation_view.h"
#include "facade/views/practice_launcher.h"
#include "facade/views/row_list_view.h"
#include "facade/views/tip_view.h"
#include "facade/views/title_view.h"

namespace examora {

// Chapter selection in one practice mode. In chapter practice (0) the chapter tree opens level by
// level with each chapter's progress line, and a leaf chapter opens practice; in the selection
// modes (4 favourites, 5 wrong answers, 6 noted) the chapters holding matching subjects are
// listed with their counts and a chapter opens the selection list of its subjects.
class ChapterSelectScreen {
  public:
    static constexpr const char* kRoute = "chapter_select";
    static constexpr const char* kSelectListRoute = "select_subject";

    struct Views {
        TitleView& title;
        RowListView& rows;
        TipView& tip;
        NavigationView& navigation;
        PracticeLauncher& practice;
    };

    // `errFilterType` narrows mode 5 (2: the cut wrong answers, otherwise the unresolved ones).
    ChapterSelectScreen(APIManager& api, Views views, int showTime, int errFilterType = 1);

    // The route's argument: "<show time>" or "<show time>/<filter type>".
    static ChapterSelectScreen fromArgument(APIManager& api, Views views,
                                            const std::string& argument);

    // Shows the top level.
    void open();
    void selectRow(int row);
    // Back one level; from the top the screen closes.
    void back();
    // The screen is shown again (after practice): the current level reloads its counts.
    void reload();

    // "考点练习" and the selection modes' titles.
    static std::string titleOf(int showTime);
    int showTime() const { return showTime_; }
    const std::vector<CourseChapterEntity>& chapters() const { return chapters_; }

  private:
    void showLevel(int parentId);

    APIManager& api_;
    Views views_;
    int showTime_;
    int errFilterType_;
    // The parents of the levels opened, innermost last; empty at the top.
    std::vector<int> parents_;
    std::vector<CourseChapterEntity> chapters_;
};

}  // namespace examora
