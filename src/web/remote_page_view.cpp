// RemotePageView: a question page view shown as a frame of the page origin.

#include "web/remote_page_view.h"

#include <functional>

#include "web/page_store.h"
#include "web/remote_views.h"

namespace examora {

RemotePageView::RemotePageView(PageStore& pages, RemoteViews& views)
    : pages_(pages), views_(views), pageId_(pages.newPageId()) {}

RemotePageView::~RemotePageView() {
    pages_.remove(pageId_);
}

void RemotePageView::loadHTMLString(const std::string& html, const std::string&) {
    // The base directory is the resource folder, which the page origin serves under "r/".
    // The hash lets the browser show a page it already holds instead of loading it again.
    const std::string hash = std::to_string(std::hash<std::string>{}(html));
    load_ = pages_.store(pageId_, html);
    views_.send("page", {{"op", "load"}, {"page", pageId_}, {"load", load_}, {"hash", hash}});
}

void RemotePageView::evaluateScript(const std::string& script) {
    views_.send("page", {{"op", "eval"}, {"page", pageId_}, {"load", load_}, {"script", script}});
}

void RemotePageView::setNavigationHandler(NavigationHandler handler) {
    handler_ = std::move(handler);
}

bool RemotePageView::navigate(int load, const std::string& url) {
    if (load != load_ || !handler_) return false;
    return handler_(url);
}

}  // namespace examora
