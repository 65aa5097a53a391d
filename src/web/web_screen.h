#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "web/remote_views.h"

namespace examora {

class WebTab;
struct WebContext;

// One screen of a browser tab. The browser draws it from its kind ("list", "form", "practice",
// "home", …) and its spec, then the screen fills it with view commands; the browser's events
// for it arrive at onEvent. Main queue only. A screen may pop itself while handling an event:
// the tab keeps it alive until the event is done.
class WebScreen {
  public:
    WebScreen(WebTab& tab, std::string kind, std::string title);
    virtual ~WebScreen();
    WebScreen(const WebScreen&) = delete;
    WebScreen& operator=(const WebScreen&) = delete;

    int id() const { return id_; }
    const std::string& kind() const { return kind_; }
    const std::string& title() const { return title_; }
    // The kind's description the browser builds the screen from.
    virtual nlohmann::json spec() const { return nlohmann::json::object(); }
    // After the browser was told to show the screen: fill it.
    virtual void start() {}
    // The screen above was closed; this one shows again.
    virtual void shownAgain() {}
    // An event of the browser for this screen. The general views' answers are handled here;
    // "back" calls back(); others go to handle().
    void onEvent(const nlohmann::json& event);
    // The back button; pops the screen unless a screen says otherwise.
    virtual void back();
    // A screen this one opened reports its outcome (a registration, a reset mail sent).
    virtual void reported(const std::string& route, int value) {
        (void)route;
        (void)value;
    }

  protected:
    virtual void handle(const nlohmann::json& event) { (void)event; }
    void setTitle(const std::string& title);
    RemoteViews& views() { return views_; }
    WebTab& tab() { return tab_; }
    WebContext& context();
    // Tells the screen that was on top when this one was made, if it is still open.
    void reportToOpener(const std::string& route, int value);

  private:
    WebTab& tab_;
    int id_;
    int openerId_;
    std::string kind_;
    std::string title_;
    RemoteViews views_;
};

}  // namespace examora
