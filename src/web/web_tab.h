#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "web/event_stream.h"

namespace examora {

class WebScreen;
struct WebContext;

// One browser tab: its stack of screens and its stream of view commands. Created when the tab
// opens its event stream, gone when the stream closes. Main queue only, but for the stream,
// which its HTTP worker reads.
class WebTab {
  public:
    WebTab(int id, WebContext& context);
    ~WebTab();
    WebTab(const WebTab&) = delete;
    WebTab& operator=(const WebTab&) = delete;

    int id() const { return id_; }
    WebContext& context() { return context_; }
    const std::shared_ptr<EventStream>& stream() const { return stream_; }

    // A new screen id of this tab.
    int newScreenId() { return nextScreenId_++; }
    void send(nlohmann::json command);

    // Shows the screen on top of the stack.
    void push(std::unique_ptr<WebScreen> screen);
    // Opens the route's screen on top; an unknown route shows a tip and opens nothing.
    void pushRoute(const std::string& route, const std::string& argument);
    // Closes the top screen (never the root); the one below shows again.
    void pop();
    // Closes the screen `screenId` if it is on top.
    void popScreen(int screenId);
    void popToRoot();
    // Replaces the whole stack with one screen.
    void setRoot(std::unique_ptr<WebScreen> screen);

    // The screen on top, the one at the bottom, and a screen of the stack by id; nullptr when there
    // is none. Valid until the stack next changes.
    WebScreen* top() const { return stack_.empty() ? nullptr : stack_.back().get(); }
    WebScreen* root() const { return stack_.empty() ? nullptr : stack_.front().get(); }
    WebScreen* find(int screenId) const;

    // An event of the browser: {"screen": id, "e": kind, …}. Events of a screen no longer on the
    // stack are dropped.
    void dispatch(const nlohmann::json& event);
    // Closes every screen (the tab went away).
    void closeAll();

  private:
    void retire(std::unique_ptr<WebScreen> screen);

    int id_;
    WebContext& context_;
    std::shared_ptr<EventStream> stream_ = std::make_shared<EventStream>();
    int nextScreenId_ = 1;
    std::vector<std::unique_ptr<WebScreen>> stack_;
    // Closed screens, one of which may still be running; freed after the event.
    std::vector<std::unique_ptr<WebScreen>> retired_;
    int depth_ = 0;
    std::shared_ptr<int> life_ = std::make_shared<int>(0);
};

}  // namespace examora
