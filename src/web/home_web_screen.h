#pragma once

#include <memory>

#include "facade/course_test_topics_view.h"
#include "web/web_screen.h"

namespace examora {

// The main screen of the current course in the browser: the course name as title, the practice
// summary, the function grid and the side menu with the learner's header. It only routes: each
// cell and menu item opens the screen that carries it (an open screen not yet built shows a
// tip).
class HomeWebScreen : public WebScreen {
  public:
    static constexpr const char* kRoute = "home";

    explicit HomeWebScreen(WebTab& tab);
    ~HomeWebScreen() override;

    nlohmann::json spec() const override;
    void start() override;
    void shownAgain() override;
    // The root has nowhere to go back to.
    void back() override {}

  protected:
    void handle(const nlohmann::json& event) override;

  private:
    void cellTapped(int cell);
    void menuTapped(int item);
    void sendMember();

    std::unique_ptr<CourseTestTopicsView> topics_;
};

}  // namespace examora
