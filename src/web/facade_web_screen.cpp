// FacadeWebScreen: a facade screen's logic over the browser's views.

#include "web/facade_web_screen.h"

#include "web/web_tab.h"

namespace examora {

using nlohmann::json;

FacadeWebScreen::FacadeWebScreen(WebTab& tab, std::string title, json spec)
    : WebScreen(tab, "panel", std::move(title)), spec_(std::move(spec)), launcher_(tab) {}

FacadeWebScreen::~FacadeWebScreen() {
    // Dialogs still open report -1 to the logic while it stands; then the logic goes, before the
    // parts it was handed.
    views().dismissAll();
    while (!parts_.empty())
        parts_.pop_back();
}

void FacadeWebScreen::start() {
    if (open_) open_();
}

void FacadeWebScreen::shownAgain() {
    if (again_) again_();
}

void FacadeWebScreen::back() {
    if (back_) {
        back_();
    } else {
        WebScreen::back();
    }
}

void FacadeWebScreen::handle(const json& event) {
    const auto it = handlers_.find(text(event, "e"));
    if (it != handlers_.end() && it->second) it->second(event);
}

void FacadeWebScreen::pushScreen(const std::string& route, const std::string& argument) {
    const auto it = answering_.find(route);
    if (it == answering_.end()) {
        views().pushScreen(route, argument);
        return;
    }
    if (auto screen = it->second(argument)) tab().push(std::move(screen));
}

void FacadeWebScreen::popScreen() {
    views().popScreen();
}

void FacadeWebScreen::popToRoot() {
    views().popToRoot();
}

int FacadeWebScreen::number(const json& event, const char* name) {
    return event.value(name, -1);
}

std::string FacadeWebScreen::text(const json& event, const char* name) {
    return event.value(name, std::string());
}

}  // namespace examora
