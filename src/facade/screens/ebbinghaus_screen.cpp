// EbbinghausScreen: the review periods of the forgetting curve and their explanation.

#include "facade/screens/ebbinghaus_screen.h"

#include "app/common_setting.h"
#include "facade/review_texts.h"

namespace examora {

EbbinghausScreen::EbbinghausScreen(APIManager& api, Views views) : api_(api), views_(views) {}

void EbbinghausScreen::open() {
    selectTab(kPeriodsTab);
}

void EbbinghausScreen::selectTab(int tab) {
    if (tab != kPeriodsTab && tab != kExplanationTab) return;
    tab_ = tab;
    views_.tabs.showTabs(memoryTabTitles(), tab_);
    if (tab_ == kPeriodsTab) {
        reload();
        return;
    }
    const EbbinghausExplanation page = ebbinghausExplanation();
    views_.labels.setLabelText(kIntroHeading, page.introHeading);
    views_.labels.setLabelText(kIntroText, page.introText);
    views_.labels.setLabelText(kPeriodsHeading, page.periodsHeading);
    std::vector<RowListView::Row> rows;
    for (const std::string& label : page.periodLabels)
        rows.push_back({label, std::string(), false});
    views_.rows.showRows(rows);
}

void EbbinghausScreen::reload() {
    if (tab_ != kPeriodsTab) return;
    api_.loadEbbinghausListWithCourseId(
        CommonSetting::CourseId(),
        [this](std::optional<std::vector<BaseItemEntity>> list, const ExamError* error) {
            if (error) {
                views_.tip.showTip(error->reason());
                return;
            }
            periods_ = list ? std::move(*list) : std::vector<BaseItemEntity>{};
        });
    std::vector<RowListView::Row> rows;
    for (const BaseItemEntity& item : periods_)
        rows.push_back({ebbinghausPeriodLabel(item.index), item.memo, true});
    views_.rows.showRows(rows);
}

void EbbinghausScreen::selectRow(int row) {
    if (tab_ != kPeriodsTab || row < 0 || row >= static_cast<int>(periods_.size())) return;
    const ReviewOpening opening = memoryOpenItem(api_.dalCourse(), CommonSetting::CourseId(),
                                                 periods_[static_cast<std::size_t>(row)]);
    if (opening.message) {
        views_.tip.showTip(*opening.message);
        return;
    }
    views_.practice.openPractice(opening.showTime, 0, 0, opening.condition);
}

}  // namespace examora
