#pragma once

#include <memory>
#include <string>

#include "facade/views/summary_view.h"
#include "store/records/finish_count_result.h"

namespace examora {

// The practice summary of the current course on the main screen: how many subjects were
// practised, how many of them wrongly, and the share answered right.
//
// refresh() reads the counts on a background worker with a data-access object of its own (held
// under the summary's lock, so two refreshes never read at once) and shows them on the main
// queue. The labels are not touched once the summary is gone; the host keeps the SummaryView
// alive as long as the summary.
class CourseTestTopicsView {
  public:
    struct Texts {
        std::string practised = "0";
        std::string wrong = "错题量:0";
        std::string rate = "准确率:0%";
    };

    // Shows the initial texts and starts the first refresh.
    CourseTestTopicsView(SummaryView& labels, int courseId);
    ~CourseTestTopicsView();
    CourseTestTopicsView(const CourseTestTopicsView&) = delete;
    CourseTestTopicsView& operator=(const CourseTestTopicsView&) = delete;

    // Reads the counts again (the main screen shown again, or another course).
    void refresh(int courseId);

    // The texts of the counts: wrong = practised − correct; the rate is correct × 100 /
    // practised in whole percent, 0 below one practised subject.
    static Texts summaryTexts(const FinishCountResult& counts);

  private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

}  // namespace examora
