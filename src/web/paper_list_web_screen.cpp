// PaperListWebScreen: the course's mock papers, to take, review or build.

#include "web/paper_list_web_screen.h"

#include "app/common_setting.h"
#include "facade/api_manager.h"
#include "web/web_context.h"
#include "web/web_tab.h"

namespace examora {

using nlohmann::json;

PaperListWebScreen::PaperListWebScreen(WebTab& tab) : WebScreen(tab, "list", "模拟考场") {}

json PaperListWebScreen::spec() const {
    return {{"empty", "还没有试卷，点击“创建试卷”组一份"},
            {"icon", "home_button_exam"},
            {"buttons", {kCreateButton}}};
}

void PaperListWebScreen::load() {
    papers_.clear();
    std::vector<RowListView::Row> rows;
    for (const int status : {0, 1}) {
        context().api.loadPaperListWithCourse(
            CommonSetting::CourseId(), status,
            [&](std::optional<std::vector<BaseItemEntity>> list, const ExamError* error) {
                if (error) views().showTip(error->reason());
                for (const auto& item : list.value_or(std::vector<BaseItemEntity>{})) {
                    papers_.emplace_back(std::atoi(item.key.c_str()), status == 1);
                    rows.push_back({item.name, item.memo, true});
                }
            });
    }
    views().showRows(rows);
}

void PaperListWebScreen::handle(const json& event) {
    const std::string kind = event.value("e", "");
    if (kind == "action" && event.value("caption", "") == kCreateButton) {
        tab().pushRoute("paper_form", std::string());
        return;
    }
    if (kind != "row") return;
    const int index = event.value("index", -1);
    if (index < 0 || index >= static_cast<int>(papers_.size())) return;
    const auto [paperId, submitted] = papers_[index];
    tab().pushRoute("paper", std::string(submitted ? "2:" : "1:") + std::to_string(paperId));
}

}  // namespace examora
