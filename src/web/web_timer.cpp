// WebTimer: delayed work posted to the main queue.

#include "web/web_timer.h"

#include "platform/main_queue.h"

namespace examora {

WebTimer::WebTimer(MainQueue& queue) : queue_(queue), thread_([this] { run(); }) {}

WebTimer::~WebTimer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        due_.clear();
    }
    changed_.notify_all();
    thread_.join();
}

WebTimer::Id WebTimer::schedule(std::chrono::milliseconds delay, std::function<void()> work) {
    Id id;
    {
        std::lock_guard lock(mutex_);
        id = nextId_++;
        due_.emplace(std::make_pair(std::chrono::steady_clock::now() + delay, id), std::move(work));
    }
    changed_.notify_all();
    return id;
}

void WebTimer::cancel(Id id) {
    std::lock_guard lock(mutex_);
    for (auto it = due_.begin(); it != due_.end(); ++it) {
        if (it->first.second == id) {
            due_.erase(it);
            return;
        }
    }
}

void WebTimer::run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (due_.empty()) {
            changed_.wait(lock);
            continue;
        }
        const auto deadline = due_.begin()->first.first;
        if (std::chrono::steady_clock::now() < deadline) {
            changed_.wait_until(lock, deadline);
            continue;
        }
        auto work = std::move(due_.begin()->second);
        due_.erase(due_.begin());
        queue_.post(std::move(work));
    }
}

}  // namespace examora
