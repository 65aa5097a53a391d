// ResultWebScreen: the result of a chapter practice or of a submitted paper.

#include "web/result_web_screen.h"

#include <cstdio>

#include "facade/api_manager.h"
#include "facade/result_texts.h"
#include "web/web_context.h"
#include "web/web_tab.h"

namespace examora {

using nlohmann::json;

std::unique_ptr<ResultWebScreen> ResultWebScreen::chapterResult(WebTab& tab, int chapterId) {
    const ChapterResultTexts t =
        chapterResultTexts(tab.context().api.dalCourse().loadSubjectSumitResultForTest(chapterId));
    json body{{"heading", t.heading}, {"lines", {t.answered, t.rate, t.correct, t.total}}};
    return std::make_unique<ResultWebScreen>(tab, "答题结果", std::move(body), t.button, nullptr);
}

std::unique_ptr<ResultWebScreen> ResultWebScreen::paperResult(WebTab& tab, int paperId,
                                                              std::function<void(int)> onClose) {
    json body = json::object();
    std::string title = "考试成绩";
    std::string button = "查看解析";
    if (auto paper = tab.context().api.dalCourse().loadPaperInfo(paperId)) {
        const PaperResultTexts t = paperResultTexts(*paper);
        title = t.title;
        button = t.reviewButton;
        char correct[64];
        char wrong[64];
        std::snprintf(correct, sizeof correct, "答对: %d 题", t.correctCount);
        std::snprintf(wrong, sizeof wrong, "答错: %d 题", t.wrongCount);
        body = {{"heading", t.paper},
                {"score", t.score},
                {"ratio", t.scoreRatio},
                {"lines", {t.summary, correct, wrong}}};
    }
    return std::make_unique<ResultWebScreen>(tab, title, std::move(body), button,
                                             std::move(onClose));
}

ResultWebScreen::ResultWebScreen(WebTab& tab, std::string title, json body, std::string button,
                                 std::function<void(int)> onClose)
    : WebScreen(tab, "result", std::move(title)),
      body_(std::move(body)),
      button_(std::move(button)),
      onClose_(std::move(onClose)) {
    body_["buttons"] = {button_};
}

ResultWebScreen::~ResultWebScreen() {
    if (onClose_) onClose_(0);
}

void ResultWebScreen::handle(const json& event) {
    if (event.value("e", "") == "action" && event.value("caption", "") == button_) close(1);
}

void ResultWebScreen::close(int choice) {
    auto onClose = std::move(onClose_);
    onClose_ = nullptr;
    tab().popScreen(id());
    if (onClose) onClose(choice);
}

}  // namespace examora
