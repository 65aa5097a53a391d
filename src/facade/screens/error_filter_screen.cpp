// ErrorFilterScreen: the choice between the open and the set-aside wrong answers.

#include "facade/screens/error_filter_screen.h"

#include "facade/review_texts.h"

namespace examora {

ErrorFilterScreen::ErrorFilterScreen(Views views) : views_(views), items_(drillEntryItems()) {}

void ErrorFilterScreen::open() {
    views_.title.setTitle(kTitle);
    std::vector<RowListView::Row> rows;
    for (const BaseItemEntity& item : items_)
        rows.push_back({item.name, item.memo, true});
    rows.push_back({kMemoryRow, std::string(), true});
    views_.rows.showRows(rows);
}

void ErrorFilterScreen::selectRow(int row) {
    if (row == static_cast<int>(items_.size())) {
        views_.navigation.pushScreen(kMemoryRoute, std::string());
        return;
    }
    if (row < 0 || row >= static_cast<int>(items_.size())) return;
    views_.navigation.pushScreen(kDrillRoute, items_[static_cast<std::size_t>(row)].key);
}

}  // namespace examora
