#pragma once

#include "engine/course_util.h"
#include "facade/result_texts.h"
#include "facade/views/label_view.h"
#include "facade/views/navigation_view.h"
#include "facade/views/title_view.h"

namespace examora {

// The result of chapter practice ("答题成绩"): the chapter's answered, right and total subjects
// and the rate; "我知道了" closes it.
class ChapterResultScreen {
  public:
    static constexpr const char* kRoute = "chapter_result";
    // Label names.
    static constexpr const char* kHeadingLabel = "heading";
    static constexpr const char* kAnsweredLabel = "answered";
    static constexpr const char* kRateLabel = "rate";
    static constexpr const char* kCorrectLabel = "correct";
    static constexpr const char* kTotalLabel = "total";

    struct Views {
        TitleView& title;
        LabelView& labels;
        NavigationView& navigation;
    };

    ChapterResultScreen(CourseUtil& course, Views views, int chapterId)
        : course_(course), views_(views), chapterId_(chapterId) {}

    void open();
    // "我知道了".
    void close();

    const ChapterResultTexts& texts() const { return texts_; }

  private:
    CourseUtil& course_;
    Views views_;
    int chapterId_;
    ChapterResultTexts texts_{};
};

}  // namespace examora
