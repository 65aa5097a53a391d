// OutlineWebScreen: the study outline's levels and its pages.

#include "web/outline_web_screen.h"

#include "facade/api_manager.h"
#include "platform/paths.h"
#include "web/web_context.h"
#include "web/web_tab.h"

namespace examora {

using nlohmann::json;

OutlineWebScreen::OutlineWebScreen(WebTab& tab, const std::string& route,
                                   const std::string& argument)
    : WebScreen(tab, route == kPageRoute ? "document" : "list", "考试大纲"),
      id_(std::atoi(argument.c_str())) {
    if (route == kPageRoute) {
        page_ = std::make_unique<RemotePageView>(tab.context().pages, views());
        // An outline page only shows; it opens nothing.
        page_->setNavigationHandler([](const std::string&) { return false; });
    }
}

OutlineWebScreen::~OutlineWebScreen() = default;

json OutlineWebScreen::spec() const {
    if (page_) return {{"page", page_->pageId()}};
    return {{"empty", "本课程暂无考试大纲"}, {"icon", "home_button_guide"}};
}

void OutlineWebScreen::start() {
    APIManager& api = context().api;
    if (page_) {
        api.loadCourseOutlineInfo_withOutlineId(
            id_, [this](std::optional<CourseOutlineEntity> outline, const ExamError*) {
                if (!outline) return;
                setTitle(outline->outlinename);
                page_->loadHTMLString(outline->text, Paths::resourceDirectory());
            });
        return;
    }
    api.loadCourseOutlineList_withParentOutlineId(
        id_, [this](std::optional<std::vector<CourseOutlineEntity>> list, const ExamError* error) {
            if (error) views().showTip(error->reason());
            items_ = list.value_or(std::vector<CourseOutlineEntity>{});
        });
    std::vector<RowListView::Row> rows;
    for (const auto& item : items_)
        rows.push_back({item.outlinename, std::string(), true});
    views().showRows(rows);
}

void OutlineWebScreen::handle(const json& event) {
    if (event.value("e", "") == "link" && page_) {
        page_->navigate(event.value("load", 0), event.value("url", ""));
        return;
    }
    if (event.value("e", "") != "row") return;
    const int index = event.value("index", -1);
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    const CourseOutlineEntity& item = items_[index];
    tab().pushRoute(item.endgrade ? kPageRoute : kRoute, std::to_string(item.outlineid));
}

}  // namespace examora
