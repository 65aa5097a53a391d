// ChapterChooserScreen: the chapters a paper is drawn from.

#include "facade/screens/chapter_chooser_screen.h"

namespace examora {

ChapterChooserScreen::ChapterChooserScreen(CourseUtil& course, Views views, int courseId,
                                           std::vector<BaseItemEntity> items, int chapterType,
                                           Done onDone)
    : course_(course),
      views_(views),
      courseId_(courseId),
      items_(std::move(items)),
      chapterType_(chapterType == 1 ? 1 : 0),
      onDone_(std::move(onDone)) {}

void ChapterChooserScreen::open() {
    views_.title.setTitle(kTitle);
    if (items_.empty()) items_ = course_.loadChapterListForCreatePaper(courseId_, chapterType_);
    views_.tabs.showTabs({"试卷", "章节"}, chapterType_);
    show();
}

void ChapterChooserScreen::selectChapterType(int type) {
    if (type != 0 && type != 1) return;
    if (type == chapterType_) return;
    chapterType_ = type;
    items_ = course_.loadChapterListForCreatePaper(courseId_, chapterType_);
    views_.tabs.showTabs({"试卷", "章节"}, chapterType_);
    show();
}

void ChapterChooserScreen::toggleRow(int row) {
    if (row < 0 || row >= static_cast<int>(items_.size())) return;
    items_[static_cast<std::size_t>(row)].selected =
        !items_[static_cast<std::size_t>(row)].selected;
    show();
}

void ChapterChooserScreen::selectAll() {
    for (BaseItemEntity& item : items_)
        item.selected = true;
    show();
}

void ChapterChooserScreen::clearAll() {
    for (BaseItemEntity& item : items_)
        item.selected = false;
    show();
}

void ChapterChooserScreen::done() {
    views_.navigation.popScreen();
    if (onDone_) onDone_(items_, chapterType_);
}

void ChapterChooserScreen::show() {
    std::vector<RowListView::Row> rows;
    for (const BaseItemEntity& item : items_)
        rows.push_back({item.name, item.selected ? std::string(kMarked) : item.memo, false});
    views_.rows.showRows(rows);
}

}  // namespace examora
