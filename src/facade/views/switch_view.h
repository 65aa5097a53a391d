#pragma once

#include <string>

namespace examora {

// The on/off switches of a screen, addressed by caption; the learner's flips are reported to the
// screen's logic.
class SwitchView {
  public:
    virtual ~SwitchView() = default;
    virtual void setSwitchOn(const std::string& caption, bool on) = 0;
};

}  // namespace examora
