// SelectSubjectScreen: a selection's subjects of one chapter, page by page.

#include "facade/screens/select_subject_screen.h"

#include <algorithm>

#include "app/common_setting.h"
#include "platform/text_util.h"

namespace examora {

SelectSubjectScreen::SelectSubjectScreen(APIManager& api, Views views, int showTime, int chapterId,
                                         int errFilterType)
    : api_(api),
      views_(views),
      showTime_(showTime),
      chapterId_(chapterId),
      errFilterType_(errFilterType) {}

SelectSubjectScreen SelectSubjectScreen::fromArgument(APIManager& api, Views views,
                                                      const std::string& argument) {
    const std::vector<std::string> parts = split(argument, "/");
    auto part = [&](std::size_t i) { return i < parts.size() ? Value(parts[i]).asInt() : 0; };
    return SelectSubjectScreen(api, views, part(0), part(1), part(2));
}

void SelectSubjectScreen::open() {
    items_.clear();
    pages_ = 0;
    hasMore_ = true;
    loadMore();
}

void SelectSubjectScreen::reload() {
    const int pages = std::max(pages_, 1);
    items_.clear();
    pages_ = 0;
    hasMore_ = true;
    for (int i = 0; i < pages && hasMore_; ++i) {
        if (!loadPage(i)) break;
    }
    show();
}

void SelectSubjectScreen::loadMore() {
    if (!hasMore_) return;
    if (loadPage(pages_)) show();
}

bool SelectSubjectScreen::loadPage(int pageIndex) {
    bool loaded = false;
    api_.loadSelectSubjectList_withCourse(
        CommonSetting::CourseId(), chapterId_, SubjectFilter(), showTime_, errFilterType_,
        pageIndex, kPageSize,
        [&](std::optional<std::vector<BaseItemEntity>> page, const ExamError* error) {
            if (error) {
                views_.tip.showTip(error->reason());
                return;
            }
            const std::size_t n = page ? page->size() : 0;
            if (page) items_.insert(items_.end(), page->begin(), page->end());
            hasMore_ = n == static_cast<std::size_t>(kPageSize);
            ++pages_;
            loaded = true;
        });
    return loaded;
}

void SelectSubjectScreen::show() {
    std::vector<RowListView::Row> rows;
    for (const BaseItemEntity& item : items_)
        rows.push_back({item.name, item.memo, true});
    views_.rows.showRows(rows);
}

void SelectSubjectScreen::selectRow(int row) {
    if (row < 0 || row >= static_cast<int>(items_.size())) return;
    // Practice runs over the same subjects the list shows: the cut wrong answers stay cut.
    views_.practice.openPractice(
        showTime_, chapterId_, Value(items_[static_cast<std::size_t>(row)].key).asInt(),
        api_.dalCourse().buildSelectSubjectFilter(showTime_, errFilterType_));
}

}  // namespace examora
