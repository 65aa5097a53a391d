#pragma once

#include <functional>

#include "engine/course_util.h"
#include "facade/result_texts.h"
#include "facade/views/label_view.h"
#include "facade/views/navigation_view.h"
#include "facade/views/title_view.h"

namespace examora {

// The result of a submitted paper ("考试成绩"): the paper's name, time, score, the time used, the
// points earned and the right and wrong counts. "查看解析" hands control back to the practice
// session with choice 1 (it then reviews the paper); leaving otherwise reports 0.
class PaperResultScreen {
  public:
    static constexpr const char* kRoute = "paper_result";
    // Label names.
    static constexpr const char* kPaperLabel = "paper";
    static constexpr const char* kSummaryLabel = "summary";
    static constexpr const char* kScoreLabel = "score";
    static constexpr const char* kCorrectLabel = "correct";
    static constexpr const char* kWrongLabel = "wrong";

    struct Views {
        TitleView& title;
        LabelView& labels;
        NavigationView& navigation;
    };

    PaperResultScreen(CourseUtil& course, Views views, int paperId,
                      std::function<void(int choice)> onClose);

    // Shows the result; an unknown paper shows nothing but the title.
    void open();
    // "查看解析".
    void review();
    // Back.
    void back();

    // The texts shown, once open() found the paper.
    const std::optional<PaperResultTexts>& texts() const { return texts_; }

  private:
    void close(int choice);

    CourseUtil& course_;
    Views views_;
    int paperId_;
    std::function<void(int)> onClose_;
    std::optional<PaperResultTexts> texts_;
};

}  // namespace examora
