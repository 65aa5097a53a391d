// ChapterWebScreen: a level of the chapter tree with progress lines.

#include "web/chapter_web_screen.h"

#include "facade/api_manager.h"
#include "platform/text_util.h"
#include "web/web_context.h"
#include "web/web_tab.h"

namespace examora {

namespace {

const char* titleOf(int showTime) {
    switch (showTime) {
        case 4:
            return "收藏笔记";
        case 5:
            return "错题强化";
        case 6:
            return "我的笔记";
        default:
            return "题库练习";
    }
}

}  // namespace

ChapterWebScreen::ChapterWebScreen(WebTab& tab, const std::string& argument)
    : WebScreen(tab, "list", "") {
    const auto parts = split(argument, ":");
    if (!parts.empty()) showTime_ = std::atoi(parts[0].c_str());
    if (parts.size() >= 2) parentId_ = std::atoi(parts[1].c_str());
    setTitle(titleOf(showTime_));
}

nlohmann::json ChapterWebScreen::spec() const {
    return {{"empty", "没有可练习的章节"}, {"icon", "chapter"}, {"tree", true}};
}

void ChapterWebScreen::start() {
    load();
}

void ChapterWebScreen::load() {
    context().api.loadChapter_withShowTime(
        showTime_, parentId_,
        [this](std::optional<std::vector<CourseChapterEntity>> list, const ExamError* error) {
            if (error) views().showTip(error->reason());
            chapters_ = list.value_or(std::vector<CourseChapterEntity>{});
        });
    std::vector<RowListView::Row> rows;
    for (const auto& chapter : chapters_) {
        rows.push_back({chapter.chaptername, chapter.memo, !chapter.endgrade});
    }
    views().showRows(rows);
}

void ChapterWebScreen::handle(const nlohmann::json& event) {
    if (event.value("e", "") != "row") return;
    const int index = event.value("index", -1);
    if (index < 0 || index >= static_cast<int>(chapters_.size())) return;
    const CourseChapterEntity& chapter = chapters_[index];
    const std::string mode = std::to_string(showTime_);
    if (chapter.endgrade || showTime_ != 0) {
        tab().pushRoute("practice", mode + ":" + std::to_string(chapter.chapterid) + ":0");
    } else {
        tab().pushRoute(kRoute, mode + ":" + std::to_string(chapter.chapterid));
    }
}

}  // namespace examora
