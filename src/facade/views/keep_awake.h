#pragma once

namespace examora {

// Keeps the screen from dimming while practice goes on.
class KeepAwake {
  public:
    virtual ~KeepAwake() = default;
    virtual void setKeepAwake(bool on) = 0;
};

}  // namespace examora
