#pragma once

#include <string>
#include <vector>

#include "facade/api_manager.h"
#include "facade/views/navigation_view.h"
#include "facade/views/practice_launcher.h"
#include "facade/views/row_list_view.h"
#include "facade/views/tip_view.h"

namespace examora {

// The subjects of one chapter in a selection mode (4 favourites, 5 wrong answers, 6 noted), page
// by page: each row the subject's title with its type and the day it was last answered. A row
// opens practice in the same mode over the chapter, at that subject.
class SelectSubjectScreen {
  public:
    static constexpr const char* kRoute = "select_subject";
    static constexpr int kPageSize = 20;

    struct Views {
        RowListView& rows;
        TipView& tip;
        NavigationView& navigation;
        PracticeLauncher& practice;
    };

    SelectSubjectScreen(APIManager& api, Views views, int showTime, int chapterId,
                        int errFilterType);
    // The route's argument "<show time>/<chapter id>/<filter type>"; missing parts read 0.
    static SelectSubjectScreen fromArgument(APIManager& api, Views views,
                                            const std::string& argument);

    // Shows the first page.
    void open();
    // Appends the next page; nothing once a page came back short.
    void loadMore();
    void selectRow(int row);
    // The screen is shown again: the pages shown so far are read again (a subject may have left
    // the selection).
    void reload();

    bool hasMore() const { return hasMore_; }
    const std::vector<BaseItemEntity>& items() const { return items_; }

  private:
    bool loadPage(int pageIndex);
    void show();

    APIManager& api_;
    Views views_;
    int showTime_;
    int chapterId_;
    int errFilterType_;
    int pages_ = 0;
    bool hasMore_ = true;
    std::vector<BaseItemEntity> items_;
};

}  // namespace examora
