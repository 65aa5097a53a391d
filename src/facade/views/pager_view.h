#pragma once

#include <functional>
#include <optional>

namespace examora {

// The horizontal pager of a practice session: a strip of equal pages scrolled sideways, over
// which three page views (slots 0, 1 and 2) are placed where the session wants them. Positions
// and widths are in the pager's own units.
class PagerView {
  public:
    // Reports the scroll offset each time the learner's scrolling moves it.
    using Scrolled = std::function<void(double offset)>;

    virtual ~PagerView() = default;
    virtual double pageWidth() const = 0;
    virtual void setContentWidth(double width) = 0;
    virtual double scrollOffset() const = 0;
    virtual void setScrollOffset(double offset) = 0;
    virtual void setScrolledHandler(Scrolled handler) = 0;
    // While disabled the pager takes no touches (a swipe is being settled).
    virtual void setTouchEnabled(bool enabled) = 0;
    // Places the page view of `slot` with its left edge at x, or hides it (nullopt).
    virtual void placePageView(int slot, std::optional<double> x) = 0;
};

}  // namespace examora
