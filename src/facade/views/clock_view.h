#pragma once

#include <functional>

namespace examora {

// The count-down clock of a paper: shows the time left and ticks once a second while running;
// reports the moment it reaches zero once, on the main queue.
class ClockView {
  public:
    virtual ~ClockView() = default;
    virtual void startCountDown(int seconds, std::function<void()> onEnd) = 0;
    virtual void pauseCountDown() = 0;
    virtual void resumeCountDown() = 0;
    virtual void stopCountDown() = 0;
    // Seconds counted down since the start (pauses excluded).
    virtual int elapsedSeconds() const = 0;
};

}  // namespace examora
