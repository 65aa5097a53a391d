#pragma once

#include <string>

namespace examora {

// The busy mark over a screen while work runs; the screen takes no input while it shows.
class BusyView {
  public:
    virtual ~BusyView() = default;
    virtual void showBusy(const std::string& text) = 0;
    virtual void hideBusy() = 0;
};

}  // namespace examora
