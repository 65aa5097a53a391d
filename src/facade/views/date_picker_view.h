#pragma once

#include <string>

namespace examora {

// A date picker in date mode. Dates are "yyyy-MM-dd"; the learner's changes are reported to the
// screen's logic, never by the picker's own setters.
class DatePickerView {
  public:
    virtual ~DatePickerView() = default;
    virtual void setDateRange(const std::string& minimum, const std::string& maximum) = 0;
    virtual void setPickerDate(const std::string& date) = 0;
};

}  // namespace examora
