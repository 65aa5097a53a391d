#pragma once

#include <string>
#include <vector>

namespace examora {

// The tabs (or segments) along a screen, one selected; the learner's choice is reported to the
// screen's logic by position.
class TabView {
  public:
    virtual ~TabView() = default;
    virtual void showTabs(const std::vector<std::string>& titles, int selected) = 0;
};

}  // namespace examora
