#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "facade/course_subject_controller.h"

namespace examora {

// Fakes of the view interfaces: they record what the logic asked and let a test play the learner.
struct FakePage : PageView {
    std::string html;
    std::vector<std::string> scripts;
    NavigationHandler handler;
    void loadHTMLString(const std::string& h, const std::string&) override { html = h; }
    void evaluateScript(const std::string& s) override { scripts.push_back(s); }
    void setNavigationHandler(NavigationHandler h) override { handler = std::move(h); }
};

struct FakePager : PagerView {
    double width = 320, content = 0, offset = 0;
    bool touch = true;
    Scrolled scrolled;
    std::optional<double> placed[3];
    double pageWidth() const override { return width; }
    void setContentWidth(double w) override { content = w; }
    double scrollOffset() const override { return offset; }
    void setScrollOffset(double x) override { offset = x; }
    void setScrolledHandler(Scrolled h) override { scrolled = std::move(h); }
    void setTouchEnabled(bool on) override { touch = on; }
    void placePageView(int slot, std::optional<double> x) override { placed[slot] = x; }
    void swipeTo(double x) { scrolled(offset = x); }
};

struct FakeBars : PracticeBarsView {
    PracticeBars shown;
    std::string image;
    std::optional<double> progress;
    void showBars(const PracticeBars& b) override { shown = b; }
    void setFavouriteImage(const std::string& name) override { image = name; }
    void setProgress(double f) override { progress = f; }
};

struct FakeClock : ClockView {
    std::string format;
    int length = 0, elapsed = 0;
    bool counting = false;
    std::function<void()> onEnd;
    void setCountDown(const std::string& f, int s) override { format = f, length = s; }
    void startCountDown(std::function<void()> e) override { counting = true, onEnd = std::move(e); }
    void pauseCountDown() override { counting = false; }
    bool isCounting() const override { return counting; }
    int elapsedSeconds() const override { return elapsed; }
};

struct FakeDialog : DialogView {
    struct Shown {
        std::string title, message;
        std::vector<std::string> buttons;
        Choice choice;
    };
    std::vector<Shown> shown;
    void showDialog(const std::string& t, const std::string& m, const std::vector<std::string>& b,
                    Choice c) override {
        shown.push_back({t, m, b, std::move(c)});
    }
    void choose(int button) { shown.back().choice(button); }
};

struct FakeTip : TipView {
    std::vector<std::string> tips;
    void showTip(const std::string& t) override { tips.push_back(t); }
};

struct FakeBusy : BusyView {
    int shown = 0, hidden = 0;
    void showBusy(const std::string&) override { ++shown; }
    void hideBusy() override { ++hidden; }
};

struct FakeNavigation : NavigationView {
    int pops = 0;
    void pushScreen(const std::string&, const std::string&) override {}
    void popScreen() override { ++pops; }
    void popToRoot() override {}
};

// Each opened screen as "<screen> <argument>", with the callback it reports through.
struct FakeScreens : PracticeScreens {
    std::vector<std::string> opened;
    Closed closed;
    std::function<void(int)> chosen;
    void openNoteEditor(int s, int n, Closed c) override {
        open("note " + std::to_string(s) + " " + std::to_string(n)), closed = std::move(c);
    }
    void openErrorReport(int s, Closed c) override {
        open("report " + std::to_string(s)), closed = std::move(c);
    }
    void openPageSettings(Closed c) override { open("settings"), closed = std::move(c); }
    void openSubjectList(int m, int p, const SubjectFilter&, std::function<void(int)> c) override {
        open("list " + std::to_string(m) + " " + std::to_string(p)), chosen = std::move(c);
    }
    void openChapterResult(int c) override { open("chapter result " + std::to_string(c)); }
    void openPaperResult(int p, std::function<void(int)> c) override {
        open("paper result " + std::to_string(p)), chosen = std::move(c);
    }
    void open(std::string s) { opened.push_back(std::move(s)); }
};

struct FakeKeepAwake : KeepAwake {
    bool on = false;
    void setKeepAwake(bool v) override { on = v; }
};

// Delayed work waits until the test runs it.
struct FakeDelayed : DelayedCall {
    std::vector<std::function<void()>> pending;
    void callAfter(int, std::function<void()> work) override { pending.push_back(std::move(work)); }
    void runAll() {
        auto work = std::move(pending);
        pending.clear();
        for (auto& w : work)
            w();
    }
};

// One set of fakes wired as a session's views.
struct FakePracticeViews {
    FakePage pages[3];
    FakePager pager;
    FakeBars bars;
    FakeClock clock;
    FakeDialog dialog;
    FakeTip tip;
    FakeBusy busy;
    FakeNavigation navigation;
    FakeScreens screens;
    FakeKeepAwake keepAwake;
    FakeDelayed delayed;

    PracticeViews views() {
        return {{pages[0], pages[1], pages[2]},
                pager,
                bars,
                clock,
                dialog,
                tip,
                busy,
                navigation,
                screens,
                keepAwake,
                delayed};
    }
    // The page view placed at page n.
    FakePage* at(int n) {
        for (int s = 0; s < 3; ++s)
            if (pager.placed[s] == n * pager.width) return &pages[s];
        return nullptr;
    }
    // The learner follows a link in the page shown at page n; true when the view may load it.
    bool follow(int n, const std::string& url) { return at(n)->handler(url); }
};

}  // namespace examora
