// NotificationCenter: named notifications delivered on the main queue.

#include "platform/notification_center.h"

#include <mutex>
#include <vector>

#include "platform/main_queue.h"

namespace examora {

struct NotificationCenter::State {
    struct Entry {
        Token token;
        std::string name;
        Observer observer;
    };
    std::mutex mutex;
    std::vector<Entry> entries;
    Token next = 1;

    std::vector<Token> tokensFor(const std::string& name) {
        std::lock_guard<std::mutex> lock(mutex);
        std::vector<Token> out;
        for (const Entry& e : entries) {
            if (e.name == name) out.push_back(e.token);
        }
        return out;
    }

    // The observer under the token, if it is still registered.
    Observer find(Token token) {
        std::lock_guard<std::mutex> lock(mutex);
        for (const Entry& e : entries) {
            if (e.token == token) return e.observer;
        }
        return nullptr;
    }
};

NotificationCenter::NotificationCenter(MainQueue& queue)
    : queue_(queue), state_(std::make_shared<State>()) {}

NotificationCenter::~NotificationCenter() = default;

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center(MainQueue::shared());
    return center;
}

NotificationCenter::Token NotificationCenter::addObserver(const std::string& name,
                                                          Observer observer) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    Token token = state_->next++;
    state_->entries.push_back({token, name, std::move(observer)});
    return token;
}

void NotificationCenter::removeObserver(Token token) {
    Observer dropped;  // destroyed outside the lock
    std::lock_guard<std::mutex> lock(state_->mutex);
    for (auto it = state_->entries.begin(); it != state_->entries.end(); ++it) {
        if (it->token == token) {
            dropped = std::move(it->observer);
            state_->entries.erase(it);
            break;
        }
    }
}

void NotificationCenter::removeAllObservers() {
    std::vector<State::Entry> dropped;
    std::lock_guard<std::mutex> lock(state_->mutex);
    dropped.swap(state_->entries);
}

void NotificationCenter::post(const std::string& name, Dict userInfo) {
    // The delivery holds the state, not the center, so a center destroyed before its deliveries
    // run leaves them harmless.
    queue_.post([state = state_, note = Notification{name, std::move(userInfo)}] {
        for (Token token : state->tokensFor(note.name)) {
            // Looked up again for each observer: an earlier one may have removed a later one.
            if (Observer observer = state->find(token)) observer(note);
        }
    });
}

}  // namespace examora
