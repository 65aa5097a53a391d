// PracticeWebScreen: the practice session over page frames, pager, bars and clock.

#include "web/practice_web_screen.h"

#include "app/common_setting.h"
#include "facade/api_manager.h"
#include "platform/text_util.h"
#include "web/paper_web_adapters.h"
#include "web/subject_sheet_web_screen.h"
#include "web/text_editor_web_screen.h"
#include "web/web_context.h"
#include "web/web_tab.h"

namespace examora {

namespace {

int field(const std::vector<std::string>& parts, std::size_t i) {
    return i < parts.size() ? std::atoi(parts[i].c_str()) : 0;
}

std::string titleOf(int showTime) {
    switch (showTime) {
        case 1:
            return "模拟考试";
        case 2:
            return "试卷解析";
        case 4:
            return "收藏练习";
        case 5:
            return "错题强化";
        case 6:
            return "笔记练习";
        default:
            return "题库练习";
    }
}

}  // namespace

std::unique_ptr<PracticeWebScreen> PracticeWebScreen::fromRoute(WebTab& tab,
                                                                const std::string& route,
                                                                const std::string& argument) {
    const auto parts = split(argument, ":");
    if (route == kPaperRoute) {
        return std::make_unique<PracticeWebScreen>(tab, field(parts, 0), field(parts, 1));
    }
    return std::make_unique<PracticeWebScreen>(tab, field(parts, 0), field(parts, 1),
                                               field(parts, 2), SubjectFilter());
}

PracticeWebScreen::PracticeWebScreen(WebTab& tab, int showTime)
    : WebScreen(tab, "practice", titleOf(showTime)), frame_(views(), tab.context().timer) {
    for (auto& page : pages_)
        page = std::make_unique<RemotePageView>(tab.context().pages, views());
}

PracticeWebScreen::PracticeWebScreen(WebTab& tab, int showTime, int chapterId, int subjectId,
                                     SubjectFilter filter)
    : PracticeWebScreen(tab, showTime) {
    session_ = std::make_unique<CourseSubjectController>(
        tab.context().api, practiceViews(), showTime, chapterId, subjectId, std::move(filter));
}

PracticeWebScreen::PracticeWebScreen(WebTab& tab, int showTime, int paperId,
                                     std::function<void()> onSubmitted)
    : PracticeWebScreen(tab, showTime) {
    session_ = std::make_unique<CourseSubjectController>(tab.context().api, practiceViews(),
                                                         showTime, paperId, std::move(onSubmitted));
}

PracticeViews PracticeWebScreen::practiceViews() {
    return PracticeViews{{*pages_[0], *pages_[1], *pages_[2]},
                         frame_,
                         frame_,
                         frame_,
                         views(),
                         views(),
                         views(),
                         views(),
                         *this,
                         views(),
                         views()};
}

PracticeWebScreen::~PracticeWebScreen() = default;

nlohmann::json PracticeWebScreen::spec() const {
    return {{"pages", {pages_[0]->pageId(), pages_[1]->pageId(), pages_[2]->pageId()}},
            {"unit", RemotePracticeFrame::kPageWidth}};
}

void PracticeWebScreen::start() {
    session_->open();
}

void PracticeWebScreen::back() {
    session_->backButtonClick();
}

void PracticeWebScreen::handle(const nlohmann::json& event) {
    const std::string kind = event.value("e", "");
    if (kind == "link") {
        const int pageId = event.value("page", 0);
        const std::string url = event.value("url", "");
        for (auto& page : pages_) {
            if (page->pageId() == pageId) page->navigate(event.value("load", 0), url);
        }
    } else if (kind == "scroll") {
        const auto& offset = event.contains("offset") ? event["offset"] : nlohmann::json();
        if (offset.is_number()) frame_.scrolled(offset.get<double>());
    } else if (kind == "nav") {
        session_->navigationButtonTapped(event.value("tag", 0));
    } else if (kind == "bottom") {
        const int index = event.value("index", -1);
        if (index == 0) session_->moveToPrePage();
        if (index == 1) session_->doSumitPaper();
        if (index == 2) session_->moveToNextPage();
    }
}

void PracticeWebScreen::openNoteEditor(int subjectId, int noteId, Closed onClose) {
    tab().push(TextEditorWebScreen::noteEditor(tab(), subjectId, noteId, std::move(onClose)));
}

void PracticeWebScreen::openErrorReport(int subjectId, Closed onClose) {
    tab().push(TextEditorWebScreen::errorReport(tab(), subjectId, std::move(onClose)));
}

void PracticeWebScreen::openPageSettings(Closed onClose) {
    tab().push(paper_web_adapters::pageSettings(tab(), std::move(onClose)));
}

void PracticeWebScreen::openSubjectList(int showTime, int parentId, const SubjectFilter& filter,
                                        std::function<void(int subjectId)> onSelect) {
    tab().push(std::make_unique<SubjectSheetWebScreen>(tab(), showTime, parentId, filter,
                                                       std::move(onSelect)));
}

void PracticeWebScreen::openChapterResult(int chapterId) {
    tab().push(paper_web_adapters::chapterResult(tab(), chapterId));
}

void PracticeWebScreen::openPaperResult(int paperId, std::function<void(int choice)> onClose) {
    // "查看解析" keeps the session, now reviewing the paper.
    auto closed = [this, onClose = std::move(onClose)](int choice) {
        if (choice == 1) setTitle(titleOf(2));
        if (onClose) onClose(choice);
    };
    tab().push(paper_web_adapters::paperResult(tab(), paperId, std::move(closed)));
}

}  // namespace examora
