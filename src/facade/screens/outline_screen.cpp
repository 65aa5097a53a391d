// OutlineScreen: the study outline's tree.

#include "facade/screens/outline_screen.h"

namespace examora {

void OutlineScreen::open() {
    views_.title.setTitle(kTitle);
    parents_.clear();
    showLevel(0);
}

void OutlineScreen::showLevel(int parentId) {
    api_.loadCourseOutlineList_withParentOutlineId(
        parentId,
        [this](std::optional<std::vector<CourseOutlineEntity>> list, const ExamError* error) {
            if (error) {
                views_.tip.showTip(error->reason());
                return;
            }
            nodes_ = list ? std::move(*list) : std::vector<CourseOutlineEntity>{};
        });
    std::vector<RowListView::Row> rows;
    for (const CourseOutlineEntity& node : nodes_)
        rows.push_back({node.outlinename, std::string(), true});
    views_.rows.showRows(rows);
}

void OutlineScreen::selectRow(int row) {
    if (row < 0 || row >= static_cast<int>(nodes_.size())) return;
    const CourseOutlineEntity& node = nodes_[static_cast<std::size_t>(row)];
    if (node.endgrade) {
        views_.navigation.pushScreen(kPageRoute, std::to_string(node.outlineid));
        return;
    }
    parents_.push_back(node.outlineid);
    showLevel(node.outlineid);
}

void OutlineScreen::back() {
    if (parents_.empty()) {
        views_.navigation.popScreen();
        return;
    }
    parents_.pop_back();
    showLevel(parents_.empty() ? 0 : parents_.back());
}

}  // namespace examora
