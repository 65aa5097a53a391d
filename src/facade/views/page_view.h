#pragma once

#include <functional>
#include <string>

namespace examora {

// A web view showing one question page. Every navigation the page starts is put to the screen's
// logic first, which answers whether the view may load it; a refused navigation loads nothing.
class PageView {
  public:
    // Called with the full URL text; true lets the view load it.
    using NavigationHandler = std::function<bool(const std::string& url)>;

    virtual ~PageView() = default;
    // Shows the HTML text, resolving relative addresses against the base directory.
    virtual void loadHTMLString(const std::string& html, const std::string& baseDirectory) = 0;
    // Runs a script in the page as it is now.
    virtual void evaluateScript(const std::string& script) = 0;
    virtual void setNavigationHandler(NavigationHandler handler) = 0;
};

}  // namespace examora
