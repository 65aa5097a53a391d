#pragma once

#include <string>

namespace examora {

// The practice summary's three labels on the main screen.
class SummaryView {
  public:
    virtual ~SummaryView() = default;
    // practised: the count between "已练习" and "题"; wrong: "错题量:…"; rate: "准确率:…".
    virtual void showSummary(const std::string& practised, const std::string& wrong,
                             const std::string& rate) = 0;
};

}  // namespace examora
