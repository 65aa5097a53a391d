#pragma once

#include <functional>
#include <string>

namespace examora {

// A web view showing one question page. Its navigations are intercepted: a link the page
// follows is reported (as the full URL) instead of being loaded.
class PageView {
  public:
    using LinkHandler = std::function<void(const std::string& url)>;

    virtual ~PageView() = default;
    // Shows the HTML text, resolving relative addresses against the base directory.
    virtual void loadHTMLString(const std::string& html, const std::string& baseDirectory) = 0;
    // Runs a script in the page as it is now.
    virtual void evaluateScript(const std::string& script) = 0;
    virtual void setLinkHandler(LinkHandler handler) = 0;
};

}  // namespace examora
