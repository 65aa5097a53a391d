#pragma once

#include <functional>
#include <string>

namespace examora {

// The application's window: animated away when the learner quits, and the end of the process.
class WindowView {
  public:
    virtual ~WindowView() = default;
    // Animates the window away over `seconds`; `finished` gets the animation's name once it is
    // over, on the main queue.
    virtual void animateWindowAway(const std::string& name, double seconds,
                                   std::function<void(const std::string& name)> finished) = 0;
    // Ends the process with the status.
    virtual void terminate(int status) = 0;
};

}  // namespace examora
