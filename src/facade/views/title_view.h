#pragma once

#include <string>

namespace examora {

// The title in a screen's navigation bar.
class TitleView {
  public:
    virtual ~TitleView() = default;
    virtual void setTitle(const std::string& title) = 0;
};

}  // namespace examora
