#pragma once

#include <vector>

#include "facade/screens/ebbinghaus_screen.h"
#include "facade/views/navigation_view.h"
#include "facade/views/row_list_view.h"
#include "facade/views/title_view.h"
#include "store/records/base_item_entity.h"

namespace examora {

// The way back to the wrong answers: "待解决" (the open wrong answers) or "已砍" (those set
// aside) opens the drill screen with its filter type as argument; "科学记忆", the last row,
// opens the memory review of the open wrong answers.
class ErrorFilterScreen {
  public:
    static constexpr const char* kRoute = "wrong_filter";
    static constexpr const char* kTitle = "错题强化";
    static constexpr const char* kDrillRoute = "wrong_drill";
    static constexpr const char* kMemoryRow = "科学记忆";
    static constexpr const char* kMemoryRoute = EbbinghausScreen::kRoute;

    struct Views {
        TitleView& title;
        RowListView& rows;
        NavigationView& navigation;
    };

    explicit ErrorFilterScreen(Views views);

    void open();
    void selectRow(int row);

  private:
    Views views_;
    std::vector<BaseItemEntity> items_;
};

}  // namespace examora
