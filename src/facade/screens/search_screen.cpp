// SearchScreen: the question search with its pages.

#include "facade/screens/search_screen.h"

#include "app/common_setting.h"
#include "platform/text_util.h"

namespace examora {

void SearchScreen::open() {
    views_.title.setTitle(kTitle);
    views_.rows.showRows({});
}

void SearchScreen::search(const std::string& text) {
    text_ = trim(text);
    items_.clear();
    nextStartId_ = 0;
    hasMore_ = !text_.empty();
    if (hasMore_) {
        loadPage();
    } else {
        views_.rows.showRows({});
    }
}

void SearchScreen::loadMore() {
    if (hasMore_) loadPage();
}

void SearchScreen::loadPage() {
    api_.loadSearchSubjectList_withcourseId(
        CommonSetting::CourseId(), text_, nextStartId_, kPageSize,
        [this](std::optional<std::vector<BaseItemEntity>> page, int next, const ExamError* error) {
            if (error) {
                hasMore_ = false;
                views_.tip.showTip(error->reason());
                return;
            }
            const std::size_t n = page ? page->size() : 0;
            if (page) items_.insert(items_.end(), page->begin(), page->end());
            nextStartId_ = next;
            hasMore_ = n == static_cast<std::size_t>(kPageSize);
        });
    std::vector<RowListView::Row> rows;
    for (const BaseItemEntity& item : items_)
        rows.push_back({item.name, item.memo, true});
    views_.rows.showRows(rows);
}

void SearchScreen::selectRow(int row) {
    if (row < 0 || row >= static_cast<int>(items_.size())) return;
    const int subjectId = Value(items_[static_cast<std::size_t>(row)].key).asInt();
    const int chapterId = api_.dalCourse().getChapterIdOfSubject(subjectId);
    views_.practice.openPractice(0, chapterId, subjectId, SubjectFilter());
}

}  // namespace examora
