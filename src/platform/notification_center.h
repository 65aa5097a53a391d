#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/dict.h"

namespace examora {

class MainQueue;

struct Notification {
    std::string name;
    Dict userInfo;
};

// Named notifications, always delivered on the main queue whatever thread posts them. An observer
// removed before a notification reaches it is not called, even if the notification was posted
// while it was still registered. Observers of one notification are called in the order they were
// added.
class NotificationCenter {
  public:
    using Observer = std::function<void(const Notification&)>;
    using Token = std::uint64_t;

    // A center delivering on the given queue, which must outlive every delivery posted to it.
    explicit NotificationCenter(MainQueue& queue);
    ~NotificationCenter();
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    // The process's center, delivering on MainQueue::shared().
    static NotificationCenter& defaultCenter();

    // Returns the token that removes the observer again. Never 0.
    Token addObserver(const std::string& name, Observer observer);
    void removeObserver(Token token);
    void removeAllObservers();

    void post(const std::string& name, Dict userInfo = {});

  private:
    struct State;
    MainQueue& queue_;
    std::shared_ptr<State> state_;
};

}  // namespace examora
