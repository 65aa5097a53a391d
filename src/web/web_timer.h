#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace examora {

class MainQueue;

// Work to run on the main queue at a later time: the screens' delayed calls and the paper clock's
// end. One thread waits for the deadlines and posts each piece of work to the queue; a
// cancelled piece is never posted. Destruction cancels everything still waiting.
class WebTimer {
  public:
    using Id = std::uint64_t;

    explicit WebTimer(MainQueue& queue);
    ~WebTimer();
    WebTimer(const WebTimer&) = delete;
    WebTimer& operator=(const WebTimer&) = delete;

    Id schedule(std::chrono::milliseconds delay, std::function<void()> work);
    void cancel(Id id);

  private:
    void run();

    MainQueue& queue_;
    std::mutex mutex_;
    std::condition_variable changed_;
    // Ordered by deadline, then by id (order of scheduling).
    std::map<std::pair<std::chrono::steady_clock::time_point, Id>, std::function<void()>> due_;
    Id nextId_ = 1;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace examora
