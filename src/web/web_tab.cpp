// WebTab: one browser tab's stack of screens and stream of view commands.

#include "web/web_tab.h"

#include "platform/log.h"
#include "platform/main_queue.h"
#include "web/web_context.h"
#include "web/web_screen.h"

namespace examora {

using nlohmann::json;

namespace {

// Marks a screen's code as running for its scope, even when it leaves by an exception.
class Running {
  public:
    explicit Running(int& depth) : depth_(depth) { ++depth_; }
    ~Running() { --depth_; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

  private:
    int& depth_;
};

}  // namespace

WebTab::WebTab(int id, WebContext& context) : id_(id), context_(context) {}

WebTab::~WebTab() {
    closeAll();
}

void WebTab::send(json command) {
    // Invalid UTF-8 from stored content is replaced rather than allowed to stop the stream.
    stream_->push(command.dump(-1, ' ', false, json::error_handler_t::replace));
}

void WebTab::push(std::unique_ptr<WebScreen> screen) {
    if (!screen) return;
    WebScreen& shown = *screen;
    stack_.push_back(std::move(screen));
    send({{"c", "screen"},
          {"op", "push"},
          {"screen", shown.id()},
          {"kind", shown.kind()},
          {"title", shown.title()},
          {"root", stack_.size() == 1},
          {"spec", shown.spec()}});
    Running running(depth_);
    shown.start();
}

void WebTab::pushRoute(const std::string& route, const std::string& argument) {
    auto screen = context_.router ? context_.router(*this, route, argument) : nullptr;
    if (!screen) {
        send({{"c", "tip"}, {"text", "暂未开放"}});
        return;
    }
    push(std::move(screen));
}

void WebTab::pop() {
    if (stack_.size() <= 1) return;
    std::unique_ptr<WebScreen> top = std::move(stack_.back());
    stack_.pop_back();
    send({{"c", "screen"}, {"op", "pop"}, {"screen", top->id()}});
    retire(std::move(top));
    Running running(depth_);
    stack_.back()->shownAgain();
}

void WebTab::popScreen(int screenId) {
    if (!stack_.empty() && stack_.back()->id() == screenId) pop();
}

void WebTab::popToRoot() {
    while (stack_.size() > 1)
        pop();
}

void WebTab::setRoot(std::unique_ptr<WebScreen> screen) {
    while (!stack_.empty()) {
        std::unique_ptr<WebScreen> top = std::move(stack_.back());
        stack_.pop_back();
        retire(std::move(top));
    }
    send({{"c", "screen"}, {"op", "reset"}});
    push(std::move(screen));
}

WebScreen* WebTab::find(int screenId) const {
    for (const auto& screen : stack_) {
        if (screen->id() == screenId) return screen.get();
    }
    return nullptr;
}

void WebTab::dispatch(const json& event) {
    if (!event.is_object()) return;
    const json& target = event.contains("screen") ? event["screen"] : json();
    if (!target.is_number_integer()) return;
    const int id = target.get<int>();
    if (depth_ == 0) retired_.clear();
    for (auto& screen : stack_) {
        if (screen->id() != id) continue;
        Running running(depth_);
        try {
            screen->onEvent(event);
        } catch (const json::exception& e) {
            // A field of the wrong kind (a text where a number belongs) refuses the event only.
            logf("web event refused: %@", e.what());
        }
        break;
    }
    if (depth_ == 0) retired_.clear();
}

void WebTab::closeAll() {
    while (!stack_.empty()) {
        std::unique_ptr<WebScreen> top = std::move(stack_.back());
        stack_.pop_back();
        retire(std::move(top));
    }
    if (depth_ == 0) retired_.clear();
    stream_->close();
}

void WebTab::retire(std::unique_ptr<WebScreen> screen) {
    // A closed screen may be the one running now (a timer's work, a dialog's choice): it is freed
    // by the next task of the main queue, so that none of its timers or loads acts for it later.
    retired_.push_back(std::move(screen));
    postToMain([this, alive = std::weak_ptr<int>(life_)] {
        if (alive.lock() && depth_ == 0) retired_.clear();
    });
}

}  // namespace examora
