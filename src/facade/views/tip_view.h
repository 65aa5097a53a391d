#pragma once

#include <string>

namespace examora {

// A short text shown for a moment over the screen, needing no answer.
class TipView {
  public:
    virtual ~TipView() = default;
    virtual void showTip(const std::string& text) = 0;
};

}  // namespace examora
