// HomeWebScreen: the main screen's logic over the browser's views.

#include "web/home_web_screen.h"

#include <signal.h>
#include <unistd.h>

#include <csignal>

#include "platform/text_util.h"
#include "web/web_context.h"
#include "web/web_tab.h"

namespace examora {

using nlohmann::json;

namespace {

json items(const std::vector<MenuItem>& list) {
    json out = json::array();
    for (const MenuItem& item : list) {
        // The tab in two labels only aligns them on the phone.
        out.push_back({{"number", item.number}, {"label", trim(item.label)}, {"icon", item.icon}});
    }
    return out;
}

}  // namespace

HomeWebScreen::HomeWebScreen(WebTab& tab) : WebScreen(tab, "home", ""), launcher_(tab) {}

HomeWebScreen::~HomeWebScreen() {
    // The controller stops its presence loop before the views it reports to go.
    main_.reset();
}

void HomeWebScreen::start() {
    downloads_ = std::make_unique<SubjectDownloadManager>(views(), views());
    // The course's content has arrived (or part of it): the summary counts it.
    downloads_->onFinished = [this](bool, const std::string&) {
        if (main_) main_->viewWillAppear();
    };
    MainLinks links;
    links.downloads = downloads_->links();
    main_ = std::make_unique<MainViewController>(
        context().api,
        MainViews{*this, *this, views(), views(), views(), views(), launcher_, *this, *this},
        std::move(links));
}

void HomeWebScreen::shownAgain() {
    if (!main_) return;
    main_->viewWillAppear();
    main_->refreshUserInfo();
}

void HomeWebScreen::reported(const std::string&, int) {
    if (main_) main_->refreshUserInfo();
}

void HomeWebScreen::courseSelected(int courseId, const std::string& district) {
    if (main_) main_->didSelectCourseId(courseId, district);
}

void HomeWebScreen::showGrid(const std::vector<MenuItem>& cells) {
    views().send("menu", {{"op", "grid"}, {"items", items(cells)}});
}

void HomeWebScreen::showSideMenu(const std::vector<MenuItem>& list) {
    views().send("menu", {{"op", "side"}, {"items", items(list)}});
}

void HomeWebScreen::showMemberHeader(const std::string& text) {
    views().send("member", {{"name", text}});
}

bool HomeWebScreen::canOpenURL(const std::string& url) {
    // The browser opens web addresses only; a messenger's scheme has no program behind it here.
    return startsWith(url, "https://") || startsWith(url, "http://");
}

void HomeWebScreen::openURL(const std::string& url) {
    if (canOpenURL(url)) views().send("url", {{"url", url}});
}

void HomeWebScreen::animateWindowAway(const std::string& name, double seconds,
                                      std::function<void(const std::string& name)> finished) {
    views().send("exit", {{"seconds", seconds}});
    views().callAfter(static_cast<int>(seconds * 1000), [name, finished = std::move(finished)] {
        if (finished) finished(name);
    });
}

void HomeWebScreen::terminate(int) {
    // Quitting ends the server as SIGTERM does: every tab closes and the service stops cleanly.
    // The signal goes to the process, where the serve command waits for it (raise would pend on
    // this thread, which blocks it).
    ::kill(::getpid(), SIGTERM);
}

void HomeWebScreen::handle(const json& event) {
    if (!main_) return;
    const std::string kind = event.value("e", "");
    if (kind == "cell") main_->gridCellTapped(event.value("number", -1));
    if (kind == "menu") main_->clickMenuItem(event.value("number", -1));
}

}  // namespace examora
