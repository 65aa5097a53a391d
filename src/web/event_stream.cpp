// EventStream: the queue of view commands that a tab's event stream sends.

#include "web/event_stream.h"

namespace examora {

void EventStream::push(std::string message) {
    {
        std::lock_guard lock(mutex_);
        if (closed_) return;
        messages_.push_back(std::move(message));
    }
    changed_.notify_all();
}

std::optional<std::string> EventStream::pop(std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, wait, [this] { return closed_ || !messages_.empty(); });
    if (closed_ || messages_.empty()) return std::nullopt;
    std::string message = std::move(messages_.front());
    messages_.pop_front();
    return message;
}

void EventStream::close() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        messages_.clear();
    }
    changed_.notify_all();
}

bool EventStream::closed() const {
    std::lock_guard lock(mutex_);
    return closed_;
}

}  // namespace examora
