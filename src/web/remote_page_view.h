#pragma once

#include <string>

#include "facade/views/page_view.h"

namespace examora {

class PageStore;
class RemoteViews;

// One question page view of a screen, shown in the browser as a frame of the page origin. A
// load stores the page for the page origin to serve and tells the browser to point the frame at
// it; a script goes to the frame by message. Main queue only.
class RemotePageView : public PageView {
  public:
    RemotePageView(PageStore& pages, RemoteViews& views);
    ~RemotePageView() override;
    RemotePageView(const RemotePageView&) = delete;
    RemotePageView& operator=(const RemotePageView&) = delete;

    int pageId() const { return pageId_; }
    int loadNumber() const { return load_; }

    void loadHTMLString(const std::string& html, const std::string& baseDirectory) override;
    void evaluateScript(const std::string& script) override;
    void setNavigationHandler(NavigationHandler handler) override;

    // A navigation the frame reported for load `load`. One of an earlier load (the frame had
    // moved on) is refused without asking.
    bool navigate(int load, const std::string& url);

  private:
    PageStore& pages_;
    RemoteViews& views_;
    int pageId_;
    int load_ = 0;
    NavigationHandler handler_;
};

}  // namespace examora
