#pragma once

#include <functional>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "facade/views/navigation_view.h"
#include "web/web_practice_launcher.h"
#include "web/web_screen.h"

namespace examora {

// A screen of the facade's screen logic shown in the browser. The adapter that builds it owns the
// logic here, hands it this screen's views, and says which of the browser's events go to which of
// the logic's operations; the screen itself holds no rule. The browser draws it as a "panel" from
// the parts its description (`spec()`) lists (tabs, labels, switches, date, fields, rows, buttons).
//
// Routes the logic pushes go to the tab's router, but for the routes whose screen answers back
// to this one (a creation form, a chooser): those the adapter builds itself.
class FacadeWebScreen : public WebScreen, public NavigationView {
  public:
    using Handler = std::function<void(const nlohmann::json& event)>;
    using Answering = std::function<std::unique_ptr<WebScreen>(const std::string& argument)>;

    FacadeWebScreen(WebTab& tab, std::string title, nlohmann::json spec);
    ~FacadeWebScreen() override;

    // Builds a part of the screen (its logic, a page view, an observer) and keeps it as long as
    // the screen; parts go in the reverse order of their making, and before the views.
    template <class Part, class... Args>
    Part& own(Args&&... args) {
        auto part = std::make_shared<Part>(std::forward<Args>(args)...);
        Part& kept = *part;
        parts_.push_back(std::move(part));
        return kept;
    }
    // The spec, while the screen is not shown yet.
    void setSpec(nlohmann::json spec) { spec_ = std::move(spec); }

    RemoteViews& remote() { return views(); }
    PracticeLauncher& practice() { return launcher_; }
    // Expires when the screen goes: a screen above that answers back checks it first.
    std::weak_ptr<int> life() const { return life_; }

    // What runs when the screen is first shown, shown again, and left by its back button (by
    // default the screen closes).
    void onOpen(std::function<void()> work) { open_ = std::move(work); }
    void onShownAgain(std::function<void()> work) { again_ = std::move(work); }
    void onBack(std::function<void()> work) { back_ = std::move(work); }
    // The browser's event of this kind ("row", "tab", "switch", "date", "action", …).
    void on(const std::string& kind, Handler handler) { handlers_[kind] = std::move(handler); }
    // The route's screen is built here with its argument, so that its answer reaches this one.
    void answers(const std::string& route, Answering make) { answering_[route] = std::move(make); }

    nlohmann::json spec() const override { return spec_; }
    void start() override;
    void shownAgain() override;
    void back() override;

    void pushScreen(const std::string& route, const std::string& argument) override;
    void popScreen() override;
    void popToRoot() override;

    // An event's integer field; -1 when it is missing (a field of another kind throws, which
    // refuses the event).
    static int number(const nlohmann::json& event, const char* name);
    // An event's text field; empty when missing.
    static std::string text(const nlohmann::json& event, const char* name);

  protected:
    void handle(const nlohmann::json& event) override;

  private:
    nlohmann::json spec_;
    WebPracticeLauncher launcher_;
    std::shared_ptr<int> life_ = std::make_shared<int>(0);
    std::function<void()> open_;
    std::function<void()> again_;
    std::function<void()> back_;
    std::map<std::string, Handler> handlers_;
    std::map<std::string, Answering> answering_;
    std::vector<std::shared_ptr<void>> parts_;
};

}  // namespace examora
