// ReviewWebScreen: the wrong-answer drill and the memory review.

#include "web/review_web_screen.h"

#include <algorithm>

#include "app/common_setting.h"
#include "facade/api_manager.h"
#include "facade/review_texts.h"
#include "web/practice_web_screen.h"
#include "web/web_context.h"
#include "web/web_tab.h"

namespace examora {

using nlohmann::json;

ReviewWebScreen::ReviewWebScreen(WebTab& tab, const std::string& route)
    : WebScreen(tab, "list", route == kMemoryRoute ? "科学记忆" : drillTitle(1)),
      memory_(route == kMemoryRoute) {}

json ReviewWebScreen::spec() const {
    if (memory_) return {{"tabs", memoryTabTitles()}, {"icon", "menu_date"}};
    json segments = json::array();
    for (const auto& item : drillEntryItems())
        segments.push_back(item.name);
    return {{"segments", segments},
            {"tabs", drillTabTitles()},
            {"icon", "home_button_myerror"},
            {"empty", "没有任何试题"},
            {"buttons", {kMemoryButton}}};
}

void ReviewWebScreen::load() {
    APIManager& api = context().api;
    const int courseId = CommonSetting::CourseId();
    std::vector<RowListView::Row> rows;
    chapters_.clear();
    items_.clear();
    if (memory_ && tab_ == 1) {
        const EbbinghausExplanation e = ebbinghausExplanation();
        rows.push_back({e.introHeading, e.introText, false});
        std::string periods;
        for (const auto& label : e.periodLabels)
            periods += label + "\n";
        rows.push_back({e.periodsHeading, periods, false});
    } else if (memory_) {
        api.loadEbbinghausListWithCourseId(
            courseId, [this](std::optional<std::vector<BaseItemEntity>> list, const ExamError*) {
                items_ = list.value_or(std::vector<BaseItemEntity>{});
            });
        for (const auto& item : items_)
            rows.push_back({ebbinghausRowText(item), "", true});
    } else {
        api.loadErrSubjectList_withShowObject(
            tab_, errFilterType_,
            [this](std::optional<APIManager::ErrSubjectList> list, const ExamError* error) {
                if (error) views().showTip(error->reason());
                if (!list) return;
                if (auto* chapters = std::get_if<std::vector<CourseChapterEntity>>(&*list)) {
                    chapters_ = std::move(*chapters);
                } else {
                    items_ = std::move(std::get<std::vector<BaseItemEntity>>(*list));
                }
            });
        for (const auto& c : chapters_)
            rows.push_back({c.chaptername, c.memo, true});
        for (const auto& item : items_)
            rows.push_back({item.name, item.memo, true});
    }
    views().showRows(rows);
}

void ReviewWebScreen::handle(const json& event) {
    const std::string kind = event.value("e", "");
    if (kind == "tab") {
        tab_ = std::clamp(event.value("index", 0), 0, memory_ ? 1 : 2);
        load();
    } else if (kind == "segment" && !memory_) {
        errFilterType_ = event.value("index", 0) == 1 ? 2 : 1;
        setTitle(drillTitle(errFilterType_));
        load();
    } else if (kind == "action" && event.value("caption", "") == kMemoryButton) {
        tab().pushRoute(kMemoryRoute, std::string());
    } else if (kind == "row") {
        open(event.value("index", -1));
    }
}

void ReviewWebScreen::open(int index) {
    CourseUtil& util = context().api.dalCourse();
    const int courseId = CommonSetting::CourseId();
    if (index >= 0 && index < static_cast<int>(chapters_.size())) {
        tab().pushRoute("practice", "5:" + std::to_string(chapters_[index].chapterid) + ":0");
        return;
    }
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    ReviewOpening opening;
    if (memory_) {
        opening = memoryOpenItem(util, courseId, items_[index]);
    } else if (tab_ == 1) {
        opening = drillOpenCountItem(util, courseId, errFilterType_, items_[index]);
    } else {
        opening = drillOpenPeriodItem(util, courseId, errFilterType_, items_[index]);
    }
    if (opening.message) {
        views().showTip(*opening.message);
        return;
    }
    tab().push(std::make_unique<PracticeWebScreen>(tab(), opening.showTime, 0, 0,
                                                   std::move(opening.condition)));
}

}  // namespace examora
