#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

namespace examora {

// The view commands of one browser tab, in order, waiting for the tab's event stream to send
// them. Any thread may push; one reader (the stream's HTTP worker) pops. Once closed, pushes are
// dropped and a waiting reader wakes at once.
class EventStream {
  public:
    void push(std::string message);
    // The next message, waiting up to `wait`; nullopt on time-out or when closed.
    std::optional<std::string> pop(std::chrono::milliseconds wait);
    void close();
    bool closed() const;

  private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> messages_;
    bool closed_ = false;
};

}  // namespace examora
