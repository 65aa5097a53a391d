// RemotePracticeFrame: the pager, bars and clock of a practice session in the browser.

#include "web/remote_practice_frame.h"

#include <algorithm>

#include "web/remote_views.h"

namespace examora {

using nlohmann::json;
using Clock = std::chrono::steady_clock;

RemotePracticeFrame::RemotePracticeFrame(RemoteViews& views, WebTimer& timer)
    : views_(views), timer_(timer) {}

RemotePracticeFrame::~RemotePracticeFrame() {
    if (endTimer_) timer_.cancel(*endTimer_);
}

void RemotePracticeFrame::scrolled(double offset) {
    offset_ = offset;
    if (scrolled_) scrolled_(offset);
}

void RemotePracticeFrame::setContentWidth(double width) {
    views_.send("pager", {{"op", "content"}, {"width", width}, {"unit", kPageWidth}});
}

void RemotePracticeFrame::setScrollOffset(double offset) {
    offset_ = offset;
    views_.send("pager", {{"op", "offset"}, {"offset", offset}, {"unit", kPageWidth}});
}

void RemotePracticeFrame::setScrolledHandler(Scrolled handler) {
    scrolled_ = std::move(handler);
}

void RemotePracticeFrame::setTouchEnabled(bool enabled) {
    views_.send("pager", {{"op", "touch"}, {"enabled", enabled}});
}

void RemotePracticeFrame::placePageView(int slot, std::optional<double> x) {
    json body{{"op", "place"}, {"slot", slot}, {"unit", kPageWidth}};
    body["x"] = x ? json(*x) : json();
    views_.send("pager", std::move(body));
}

void RemotePracticeFrame::showBars(const PracticeBars& bars) {
    views_.send("bars", {{"op", "show"},
                         {"tags", bars.navigationTags},
                         {"bottom", bars.bottomTitles},
                         {"progressHeader", bars.progressHeader},
                         {"clock", bars.clock},
                         {"clockText", bars.clockText},
                         {"background", bars.backgroundColor},
                         {"button", bars.buttonColor},
                         {"buttonTitle", bars.buttonTitleColor}});
}

void RemotePracticeFrame::setFavouriteImage(const std::string& imageName) {
    views_.send("bars", {{"op", "favourite"}, {"image", imageName}});
}

void RemotePracticeFrame::setProgress(double fraction) {
    views_.send("bars", {{"op", "progress"}, {"fraction", fraction}});
}

void RemotePracticeFrame::setCountDown(const std::string& timeFormat, int seconds) {
    if (endTimer_) timer_.cancel(*endTimer_);
    endTimer_.reset();
    total_ = std::max(seconds, 0);
    counted_ = {};
    counting_ = false;
    views_.send("clock", {{"op", "set"}, {"format", timeFormat}, {"remaining", total_}});
}

void RemotePracticeFrame::startCountDown(std::function<void()> onEnd) {
    if (counting_) return;
    onEnd_ = std::move(onEnd);
    counting_ = true;
    startedAt_ = Clock::now();
    const auto left = std::chrono::seconds(total_) - counted_;
    endTimer_ = timer_.schedule(std::chrono::duration_cast<std::chrono::milliseconds>(left),
                                [this, alive = std::weak_ptr<int>(life_)] {
                                    if (alive.lock()) clockEnded();
                                });
    sendClock("start");
}

void RemotePracticeFrame::pauseCountDown() {
    if (!counting_) return;
    counted_ += Clock::now() - startedAt_;
    counting_ = false;
    if (endTimer_) timer_.cancel(*endTimer_);
    endTimer_.reset();
    sendClock("pause");
}

int RemotePracticeFrame::elapsedSeconds() const {
    auto counted = counted_;
    if (counting_) counted += Clock::now() - startedAt_;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(counted).count();
    return static_cast<int>(std::min<long long>(seconds, total_));
}

void RemotePracticeFrame::sendClock(const char* op) {
    views_.send("clock", {{"op", op}, {"remaining", total_ - elapsedSeconds()}});
}

void RemotePracticeFrame::clockEnded() {
    endTimer_.reset();
    if (!counting_) return;
    counted_ = std::chrono::seconds(total_);
    counting_ = false;
    sendClock("pause");
    if (auto onEnd = std::move(onEnd_)) onEnd();
}

}  // namespace examora
