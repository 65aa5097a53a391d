#pragma once

#include <functional>

namespace examora {

// The horizontal pager that holds the three page views of a practice session. It reports where
// a swipe came to rest as the index of the page now in view (0, 1 or 2).
class PagerView {
  public:
    using Settled = std::function<void(int pageInView)>;

    virtual ~PagerView() = default;
    // How many pages the pager scrolls over (1 to 3) and which one is in view.
    virtual void placePages(int pageCount, int pageInView) = 0;
    virtual void setSettledHandler(Settled handler) = 0;
};

}  // namespace examora
