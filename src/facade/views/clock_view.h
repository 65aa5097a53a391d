#pragma once

#include <functional>
#include <string>

namespace examora {

// The count-down clock label of a paper. It shows the time left in its time format, ticks once a
// second while counting, and reports reaching zero once, on the main queue.
class ClockView {
  public:
    virtual ~ClockView() = default;
    // Sets the format (e.g. "HH:mm:ss") and the length, showing the full time; not counting.
    virtual void setCountDown(const std::string& timeFormat, int seconds) = 0;
    // Starts or resumes counting; onEnd runs when zero is reached.
    virtual void startCountDown(std::function<void()> onEnd) = 0;
    virtual void pauseCountDown() = 0;
    virtual bool isCounting() const = 0;
    // Seconds counted down since the start (pauses excluded).
    virtual int elapsedSeconds() const = 0;
};

}  // namespace examora
