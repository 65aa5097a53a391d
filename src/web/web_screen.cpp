// WebScreen: the base of the web interface's screens.

#include "web/web_screen.h"

#include "web/web_context.h"
#include "web/web_tab.h"

namespace examora {

namespace {

RemoteViews::Tab tabHooks(WebTab& tab, const int& screenId) {
    RemoteViews::Tab hooks;
    hooks.send = [&tab](nlohmann::json command) { tab.send(std::move(command)); };
    hooks.push = [&tab](const std::string& route, const std::string& argument) {
        tab.pushRoute(route, argument);
    };
    hooks.pop = [&tab, &screenId] { tab.popScreen(screenId); };
    hooks.popToRoot = [&tab] { tab.popToRoot(); };
    return hooks;
}

}  // namespace

WebScreen::WebScreen(WebTab& tab, std::string kind, std::string title)
    : tab_(tab),
      id_(tab.newScreenId()),
      openerId_(tab.top() ? tab.top()->id() : 0),
      kind_(std::move(kind)),
      title_(std::move(title)),
      views_(id_, tabHooks(tab, id_), tab.context().timer) {}

WebScreen::~WebScreen() = default;

WebContext& WebScreen::context() {
    return tab_.context();
}

void WebScreen::onEvent(const nlohmann::json& event) {
    if (views_.handleEvent(event)) return;
    if (event.value("e", "") == "back") {
        back();
        return;
    }
    handle(event);
}

void WebScreen::back() {
    tab_.popScreen(id_);
}

void WebScreen::reportToOpener(const std::string& route, int value) {
    if (WebScreen* opener = tab_.find(openerId_)) opener->reported(route, value);
}

void WebScreen::setTitle(const std::string& title) {
    title_ = title;
    views_.send("screen", {{"op", "title"}, {"title", title}});
}

}  // namespace examora
