// ErrorDrillScreen: the wrong answers by chapter, by count and by period.

#include "facade/screens/error_drill_screen.h"

#include "app/common_setting.h"
#include "facade/review_texts.h"
#include "platform/strformat.h"

namespace examora {

ErrorDrillScreen::ErrorDrillScreen(APIManager& api, Views views, int errFilterType)
    : api_(api), views_(views), errFilterType_(errFilterType == 2 ? 2 : 1) {}

void ErrorDrillScreen::open() {
    views_.title.setTitle(drillTitle(errFilterType_));
    selectTab(kChaptersTab);
}

void ErrorDrillScreen::selectTab(int tab) {
    if (tab < kChaptersTab || tab > kPeriodTab) return;
    tab_ = tab;
    views_.tabs.showTabs(drillTabTitles(), tab_);
    reload();
}

void ErrorDrillScreen::reload() {
    api_.loadErrSubjectList_withShowObject(
        tab_, errFilterType_,
        [this](std::optional<APIManager::ErrSubjectList> list, const ExamError* error) {
            if (error) {
                views_.tip.showTip(error->reason());
                return;
            }
            list_ = list ? std::move(*list) : APIManager::ErrSubjectList{};
        });
    std::vector<RowListView::Row> rows;
    if (auto* chapters = std::get_if<std::vector<CourseChapterEntity>>(&list_)) {
        for (const CourseChapterEntity& chapter : *chapters)
            rows.push_back({chapter.chaptername, chapter.memo, true});
    } else if (auto* items = std::get_if<std::vector<BaseItemEntity>>(&list_)) {
        for (const BaseItemEntity& item : *items)
            rows.push_back({item.name, item.memo, true});
    }
    views_.rows.showRows(rows);
}

void ErrorDrillScreen::selectRow(int row) {
    if (row < 0) return;
    const auto at = static_cast<std::size_t>(row);
    if (auto* chapters = std::get_if<std::vector<CourseChapterEntity>>(&list_)) {
        if (at >= chapters->size()) return;
        views_.navigation.pushScreen(
            kSelectListRoute, strformat("%d/%d/%d", 5, (*chapters)[at].chapterid, errFilterType_));
        return;
    }
    auto* items = std::get_if<std::vector<BaseItemEntity>>(&list_);
    if (!items || at >= items->size()) return;
    const int courseId = CommonSetting::CourseId();
    const ReviewOpening opening =
        tab_ == kCountTab
            ? drillOpenCountItem(api_.dalCourse(), courseId, errFilterType_, (*items)[at])
            : drillOpenPeriodItem(api_.dalCourse(), courseId, errFilterType_, (*items)[at]);
    if (opening.message) {
        views_.tip.showTip(*opening.message);
        return;
    }
    views_.practice.openPractice(opening.showTime, 0, 0, opening.condition);
}

}  // namespace examora
