#pragma once

#include <functional>
#include <optional>
#include <string>

#include "facade/views/date_picker_view.h"
#include "facade/views/label_view.h"
#include "facade/views/title_view.h"
#include "platform/date_time.h"

namespace examora {

// The examination-day screen: the learner's examination date of the current course, kept in the
// custom setting "examdate<course id>", and the days between now and that date.
class ExamDayScreen {
  public:
    static constexpr const char* kRoute = "exam_day";
    static constexpr const char* kTitle = "距离考试日期";
    // Label names.
    static constexpr const char* kCaptionLabel = "caption";
    static constexpr const char* kDaysLabel = "days";

    struct Views {
        TitleView& title;
        LabelView& labels;
        DatePickerView& picker;
    };

    // `now` gives the current local time (tests hand in a fixed one).
    explicit ExamDayScreen(Views views, std::function<DateTime()> now = &DateTime::nowLocal);

    // Shows the title, the caption, the picker's range (today to three years ahead) and the
    // stored date (today when none is stored) with its day count.
    void open();
    // The learner picked a date ("yyyy-MM-dd"): it is stored and the day count follows. A text
    // that is not such a date changes nothing.
    void dateChanged(const std::string& date);

    // "距离考试%d天": the whole days between now and the date taken at now's time of day, as a
    // positive number also for a date that has passed.
    static std::string daysText(const DateTime& now, const DateTime& date);
    // A "yyyy-MM-dd" text as a date; nullopt for anything else.
    static std::optional<DateTime> parseDate(const std::string& date);

  private:
    void showDays(const DateTime& date);

    Views views_;
    std::function<DateTime()> now_;
};

}  // namespace examora
