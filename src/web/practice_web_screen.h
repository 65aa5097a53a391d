#pragma once

#include <array>
#include <memory>

#include "facade/course_subject_controller.h"
#include "facade/views/practice_screens.h"
#include "web/remote_page_view.h"
#include "web/remote_practice_frame.h"
#include "web/web_screen.h"

namespace examora {

// The practice session in the browser: the session's logic (CourseSubjectController) over three
// page frames, the pager, the bars and the clock. The screens it opens over itself (note editor,
// correction report, subject list, results) are pushed on the tab.
class PracticeWebScreen : public WebScreen, public PracticeScreens {
  public:
    static constexpr const char* kRoute = "practice";
    // Taking ("take") or reviewing ("review") a paper.
    static constexpr const char* kPaperRoute = "paper";

    // Route "practice", argument "<mode>:<chapter>:<subject>"; route "paper", argument
    // "<mode>:<paper>".
    static std::unique_ptr<PracticeWebScreen> fromRoute(WebTab& tab, const std::string& route,
                                                        const std::string& argument);
    // A run over a chapter, or over the subjects of a condition the engine built.
    PracticeWebScreen(WebTab& tab, int showTime, int chapterId, int subjectId,
                      SubjectFilter filter);
    // A run over a paper: mode 1 takes it (onSubmitted runs once after the submission), 2
    // reviews it.
    PracticeWebScreen(WebTab& tab, int showTime, int paperId,
                      std::function<void()> onSubmitted = nullptr);
    ~PracticeWebScreen() override;

    nlohmann::json spec() const override;
    void start() override;
    void back() override;

    void openNoteEditor(int subjectId, int noteId, Closed onClose) override;
    void openErrorReport(int subjectId, Closed onClose) override;
    void openPageSettings(Closed onClose) override;
    void openSubjectList(int showTime, int parentId, const SubjectFilter& filter,
                         std::function<void(int subjectId)> onSelect) override;
    void openChapterResult(int chapterId) override;
    void openPaperResult(int paperId, std::function<void(int choice)> onClose) override;

  protected:
    void handle(const nlohmann::json& event) override;

  private:
    PracticeWebScreen(WebTab& tab, int showTime);
    PracticeViews practiceViews();

    RemotePracticeFrame frame_;
    std::array<std::unique_ptr<RemotePageView>, 3> pages_;
    std::unique_ptr<CourseSubjectController> session_;
};

}  // namespace examora
