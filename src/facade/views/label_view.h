#pragma once

#include <string>

namespace examora {

// The fixed texts of a screen, addressed by name; setting one replaces what it showed.
class LabelView {
  public:
    virtual ~LabelView() = default;
    virtual void setLabelText(const std::string& name, const std::string& text) = 0;
};

}  // namespace examora
