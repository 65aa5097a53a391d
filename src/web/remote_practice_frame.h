#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "facade/views/clock_view.h"
#include "facade/views/pager_view.h"
#include "facade/views/practice_bars_view.h"
#include "web/web_timer.h"

namespace examora {

class RemoteViews;

// What surrounds a practice session's pages in the browser: the pager (in units of
// kPageWidth per page; the browser scales them to its width), the bars, and the paper clock.
// The clock keeps its own time here, so the time used never depends on the browser; the browser
// only shows it ticking. Main queue only.
class RemotePracticeFrame : public PagerView, public PracticeBarsView, public ClockView {
  public:
    static constexpr double kPageWidth = 1000;

    RemotePracticeFrame(RemoteViews& views, WebTimer& timer);
    ~RemotePracticeFrame() override;
    RemotePracticeFrame(const RemotePracticeFrame&) = delete;
    RemotePracticeFrame& operator=(const RemotePracticeFrame&) = delete;

    // The browser's scroll report, in pager units.
    void scrolled(double offset);

    double pageWidth() const override { return kPageWidth; }
    void setContentWidth(double width) override;
    double scrollOffset() const override { return offset_; }
    void setScrollOffset(double offset) override;
    void setScrolledHandler(Scrolled handler) override;
    void setTouchEnabled(bool enabled) override;
    void placePageView(int slot, std::optional<double> x) override;

    void showBars(const PracticeBars& bars) override;
    void setFavouriteImage(const std::string& imageName) override;
    void setProgress(double fraction) override;

    void setCountDown(const std::string& timeFormat, int seconds) override;
    void startCountDown(std::function<void()> onEnd) override;
    void pauseCountDown() override;
    bool isCounting() const override { return counting_; }
    int elapsedSeconds() const override;

  private:
    void sendClock(const char* op);
    void clockEnded();

    RemoteViews& views_;
    WebTimer& timer_;
    double offset_ = 0;
    Scrolled scrolled_;
    int total_ = 0;
    std::chrono::steady_clock::duration counted_{};
    std::chrono::steady_clock::time_point startedAt_;
    bool counting_ = false;
    std::optional<WebTimer::Id> endTimer_;
    std::function<void()> onEnd_;
    std::shared_ptr<int> life_ = std::make_shared<int>(0);
};

}  // namespace examora
