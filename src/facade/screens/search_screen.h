#pragma once

#include <string>
#include <vector>

#include "facade/api_manager.h"
#include "facade/views/practice_launcher.h"
#include "facade/views/row_list_view.h"
#include "facade/views/tip_view.h"
#include "facade/views/title_view.h"

namespace examora {

// The search of the current course's questions ("搜索试题"): the titles that contain the text,
// a page at a time, each row the title (or its excerpt) and its chapter. A row opens chapter
// practice at that subject.
class SearchScreen {
  public:
    static constexpr const char* kRoute = "search";
    static constexpr const char* kTitle = "搜索试题";
    static constexpr int kPageSize = 20;

    struct Views {
        TitleView& title;
        RowListView& rows;
        TipView& tip;
        PracticeLauncher& practice;
    };

    SearchScreen(APIManager& api, Views views) : api_(api), views_(views) {}

    void open();
    // A new search; the text is trimmed and an empty one searches nothing (the list empties).
    void search(const std::string& text);
    // The next page of the current search; nothing once a page came back short.
    void loadMore();
    void selectRow(int row);

    bool hasMore() const { return hasMore_; }
    const std::vector<BaseItemEntity>& items() const { return items_; }

  private:
    void loadPage();

    APIManager& api_;
    Views views_;
    std::string text_;
    int nextStartId_ = 0;
    bool hasMore_ = false;
    std::vector<BaseItemEntity> items_;
};

}  // namespace examora
