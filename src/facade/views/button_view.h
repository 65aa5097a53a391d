#pragma once

#include <string>

namespace examora {

// The buttons of a screen, addressed by their caption: a disabled button takes no presses.
class ButtonView {
  public:
    virtual ~ButtonView() = default;
    virtual void setButtonEnabled(const std::string& caption, bool enabled) = 0;
};

}  // namespace examora
