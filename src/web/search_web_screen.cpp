// SearchWebScreen: searching the question bank a page at a time.

#include "web/search_web_screen.h"

#include "app/common_setting.h"
#include "facade/api_manager.h"
#include "web/web_context.h"
#include "web/web_tab.h"

namespace examora {

using nlohmann::json;

SearchWebScreen::SearchWebScreen(WebTab& tab) : WebScreen(tab, "list", "搜索试题") {}

json SearchWebScreen::spec() const {
    return {{"search", {{"name", kTextField}, {"button", kSearch}}},
            {"empty", "输入题目中的文字后搜索"},
            {"buttons", {kMore}}};
}

void SearchWebScreen::handle(const json& event) {
    const std::string kind = event.value("e", "");
    if (kind == "action") {
        const std::string caption = event.value("caption", "");
        if (caption == kSearch) search(false);
        if (caption == kMore && nextStart_ > 0) search(true);
        return;
    }
    if (kind != "row") return;
    const int index = event.value("index", -1);
    if (index < 0 || index >= static_cast<int>(subjects_.size())) return;
    const int subjectId = subjects_[index];
    const int chapterId = context().api.dalCourse().getChapterIdOfSubject(subjectId);
    if (chapterId < 1) return;
    tab().pushRoute("practice", "0:" + std::to_string(chapterId) + ":" + std::to_string(subjectId));
}

void SearchWebScreen::search(bool more) {
    if (!more) {
        text_ = views().fieldText(kTextField);
        nextStart_ = 0;
        rows_.clear();
        subjects_.clear();
    }
    if (text_.empty()) return;
    context().api.loadSearchSubjectList_withcourseId(
        CommonSetting::CourseId(), text_, nextStart_, kPageSize,
        [this](std::optional<std::vector<BaseItemEntity>> list, int next, const ExamError* error) {
            if (error) views().showTip(error->reason());
            nextStart_ = list && static_cast<int>(list->size()) >= kPageSize ? next : 0;
            for (const auto& item : list.value_or(std::vector<BaseItemEntity>{})) {
                subjects_.push_back(std::atoi(item.key.c_str()));
                rows_.push_back({item.name, item.memo, true});
            }
        });
    views().showRows(rows_);
    views().setButtonEnabled(kMore, nextStart_ > 0);
    if (rows_.empty()) views().showTip("没有找到相关试题");
}

}  // namespace examora
