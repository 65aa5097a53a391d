// ChapterSelectScreen: the chapter tree by practice mode, with progress lines and counts.

#include "facade/screens/chapter_select_screen.h"

#include <charconv>

#include "platform/strformat.h"
#include "platform/text_util.h"

namespace examora {

namespace {

bool isSelectionMode(int showTime) {
    return showTime == 4 || showTime == 5 || showTime == 6;
}

int argumentPart(const std::vector<std::string>& parts, std::size_t i, int fallback) {
    if (i >= parts.size()) return fallback;
    int value = fallback;
    const std::string& text = parts[i];
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() ? value : fallback;
}

}  // namespace

ChapterSelectScreen::ChapterSelectScreen(APIManager& api, Views views, int showTime,
                                         int errFilterType)
    : api_(api), views_(views), showTime_(showTime), errFilterType_(errFilterType) {}

ChapterSelectScreen ChapterSelectScreen::fromArgument(APIManager& api, Views views,
                                                      const std::string& argument) {
    const std::vector<std::string> parts = split(argument, "/");
    return ChapterSelectScreen(api, views, argumentPart(parts, 0, 0), argumentPart(parts, 1, 1));
}

std::string ChapterSelectScreen::titleOf(int showTime) {
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

void ChapterSelectScreen::open() {
    views_.title.setTitle(titleOf(showTime_));
    parents_.clear();
    showLevel(0);
}

void ChapterSelectScreen::reload() {
    showLevel(parents_.empty() ? 0 : parents_.back());
}

void ChapterSelectScreen::showLevel(int parentId) {
    auto shown = [this](std::optional<std::vector<CourseChapterEntity>> list,
                        const ExamError* error) {
        if (error) {
            views_.tip.showTip(error->reason());
            return;
        }
        chapters_ = list ? std::move(*list) : std::vector<CourseChapterEntity>{};
        std::vector<RowListView::Row> rows;
        for (const CourseChapterEntity& chapter : chapters_)
            rows.push_back({chapter.chaptername, chapter.memo, true});
        views_.rows.showRows(rows);
    };
    if (showTime_ == 5) {
        // The drill's chapters follow its filter (unresolved or cut).
        api_.loadErrSubjectList_withShowObject(
            0, errFilterType_,
            [&](std::optional<APIManager::ErrSubjectList> list, const ExamError* error) {
                std::optional<std::vector<CourseChapterEntity>> chapters;
                if (list) {
                    if (auto* c = std::get_if<std::vector<CourseChapterEntity>>(&*list)) {
                        chapters = std::move(*c);
                    }
                }
                shown(std::move(chapters), error);
            });
        return;
    }
    api_.loadChapter_withShowTime(showTime_, parentId, shown);
}

void ChapterSelectScreen::selectRow(int row) {
    if (row < 0 || row >= static_cast<int>(chapters_.size())) return;
    const CourseChapterEntity& chapter = chapters_[static_cast<std::size_t>(row)];
    if (isSelectionMode(showTime_)) {
        views_.navigation.pushScreen(
            kSelectListRoute, strformat("%d/%d/%d", showTime_, chapter.chapterid, errFilterType_));
        return;
    }
    if (chapter.endgrade) {
        views_.practice.openPractice(showTime_, chapter.chapterid, 0, SubjectFilter());
        return;
    }
    parents_.push_back(chapter.chapterid);
    showLevel(chapter.chapterid);
}

void ChapterSelectScreen::back() {
    if (parents_.empty() || isSelectionMode(showTime_)) {
        views_.navigation.popScreen();
        return;
    }
    parents_.pop_back();
    showLevel(parents_.empty() ? 0 : parents_.back());
}

}  // namespace examora
