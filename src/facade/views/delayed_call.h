#pragma once

#include <functional>

namespace examora {

// Runs work on the main queue after a delay; tests run it at once or by hand.
class DelayedCall {
  public:
    virtual ~DelayedCall() = default;
    virtual void callAfter(int milliseconds, std::function<void()> work) = 0;
};

}  // namespace examora
