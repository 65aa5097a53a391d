#pragma once

#include <string>
#include <vector>

#include "facade/api_manager.h"
#include "facade/views/navigation_view.h"
#include "facade/views/row_list_view.h"
#include "facade/views/tip_view.h"
#include "facade/views/title_view.h"

namespace examora {

// The examination outline ("考试大纲") as a tree, one level at a time: a node with children opens
// them, a leaf opens its outline page.
class OutlineScreen {
  public:
    static constexpr const char* kRoute = "outline";
    static constexpr const char* kTitle = "考试大纲";
    static constexpr const char* kPageRoute = "outline_page";

    struct Views {
        TitleView& title;
        RowListView& rows;
        TipView& tip;
        NavigationView& navigation;
    };

    OutlineScreen(APIManager& api, Views views) : api_(api), views_(views) {}

    // The top level.
    void open();
    void selectRow(int row);
    // Back one level; from the top the screen closes.
    void back();

    const std::vector<CourseOutlineEntity>& nodes() const { return nodes_; }

  private:
    void showLevel(int parentId);

    APIManager& api_;
    Views views_;
    std::vector<int> parents_;
    std::vector<CourseOutlineEntity> nodes_;
};

}  // namespace examora
