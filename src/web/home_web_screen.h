#pragma once

#include <memory>

#include "facade/screens/main_view_controller.h"
#include "facade/subject_download_manager.h"
#include "facade/views/menu_view.h"
#include "facade/views/title_view.h"
#include "facade/views/url_opener.h"
#include "facade/views/window_view.h"
#include "web/web_practice_launcher.h"
#include "web/web_screen.h"

namespace examora {

// The main screen in the browser: MainViewController's logic (title, summary, function grid,
// side menu, download offers, presence loop) over this screen's views. Course downloads run
// through a SubjectDownloadManager whose progress dialog is this screen's. The course selection
// answers here (courseSelected), so a new course or district goes through the download offer.
class HomeWebScreen : public WebScreen,
                      public TitleView,
                      public MenuView,
                      public UrlOpener,
                      public WindowView {
  public:
    static constexpr const char* kRoute = MainViewController::kRoute;

    explicit HomeWebScreen(WebTab& tab);
    ~HomeWebScreen() override;

    void start() override;
    void shownAgain() override;
    // The root has nowhere to go back to.
    void back() override {}
    // A log-in, registration or log-out below: the side menu's header shows the learner again.
    void reported(const std::string& route, int value) override;
    // The course selection's answer.
    void courseSelected(int courseId, const std::string& district);

    void setTitle(const std::string& title) override { WebScreen::setTitle(title); }
    void showGrid(const std::vector<MenuItem>& cells) override;
    void showSideMenu(const std::vector<MenuItem>& items) override;
    void showMemberHeader(const std::string& text) override;
    bool canOpenURL(const std::string& url) override;
    void openURL(const std::string& url) override;
    void animateWindowAway(const std::string& name, double seconds,
                           std::function<void(const std::string& name)> finished) override;
    void terminate(int status) override;

  protected:
    void handle(const nlohmann::json& event) override;

  private:
    WebPracticeLauncher launcher_;
    std::unique_ptr<SubjectDownloadManager> downloads_;
    std::unique_ptr<MainViewController> main_;
};

}  // namespace examora
