#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "facade/views/busy_view.h"
#include "facade/views/button_view.h"
#include "facade/views/date_picker_view.h"
#include "facade/views/dialog_view.h"
#include "facade/views/field_view.h"
#include "facade/views/label_view.h"
#include "facade/views/list_chooser_view.h"
#include "facade/views/menu_view.h"
#include "facade/views/navigation_view.h"
#include "facade/views/page_view.h"
#include "facade/views/practice_launcher.h"
#include "facade/views/progress_dialog_view.h"
#include "facade/views/row_list_view.h"
#include "facade/views/summary_view.h"
#include "facade/views/switch_view.h"
#include "facade/views/tab_view.h"
#include "facade/views/tip_view.h"
#include "facade/views/title_view.h"
#include "facade/views/url_opener.h"
#include "facade/views/window_view.h"

namespace examora::testing {

// Every view a screen of the facade talks to, recording what the screen asked. Dialogs and lists
// wait for the test to answer them (answer, choose); everything else is recorded in order in
// `events` as short words, so a test can state what happened and that nothing else did.
class FakeScreenViews : public TitleView,
                        public LabelView,
                        public MenuView,
                        public SummaryView,
                        public DialogView,
                        public ListChooserView,
                        public NavigationView,
                        public PracticeLauncher,
                        public UrlOpener,
                        public WindowView,
                        public DatePickerView,
                        public SwitchView,
                        public TabView,
                        public RowListView,
                        public TipView,
                        public FieldView,
                        public ButtonView,
                        public BusyView,
                        public PageView,
                        public ProgressDialogView {
  public:
    struct Dialog {
        std::string title, message;
        std::vector<std::string> buttons;
        Choice choice;
    };
    struct List {
        std::string title;
        std::vector<BaseItemEntity> items;
        bool multiple = false;
        Outcome outcome;
    };

    void setTitle(const std::string& t) override { title = t; }
    void setLabelText(const std::string& name, const std::string& text) override {
        labels[name] = text;
    }
    void showGrid(const std::vector<MenuItem>& cells) override { grid = cells; }
    void showSideMenu(const std::vector<MenuItem>& items) override { sideMenu = items; }
    void showMemberHeader(const std::string& text) override { header = text; }
    void showSummary(const std::string& p, const std::string& w, const std::string& r) override {
        summary = p + " " + w + " " + r;
    }
    void showDialog(const std::string& t, const std::string& m, const std::vector<std::string>& b,
                    Choice c) override {
        dialogs.push_back({t, m, b, std::move(c)});
    }
    // Presses the button of the last dialog with that caption.
    void answer(const std::string& caption) {
        Dialog& d = dialogs.back();
        for (std::size_t i = 0; i < d.buttons.size(); ++i) {
            if (d.buttons[i] == caption) return d.choice(static_cast<int>(i));
        }
        d.choice(-1);
    }
    void chooseFromList(const std::string& t, std::vector<BaseItemEntity> items, bool multiple,
                        Outcome onDone) override {
        lists.push_back({t, std::move(items), multiple, std::move(onDone)});
    }
    // Leaves the last list with exactly the items named marked.
    void choose(const std::vector<std::string>& names) {
        List& l = lists.back();
        for (BaseItemEntity& item : l.items) {
            item.selected = false;
            for (const std::string& n : names)
                if (item.name == n) item.selected = true;
        }
        l.outcome(l.items);
    }
    void pushScreen(const std::string& route, const std::string& argument) override {
        if (pushThrows) pushThrows();
        events.push_back("push " + route + (argument.empty() ? "" : " " + argument));
    }
    void popScreen() override { events.push_back("pop"); }
    void popToRoot() override { events.push_back("root"); }
    void openPractice(int showTime, int chapterId, int subjectId,
                      const SubjectFilter& filter) override {
        events.push_back("practice " + std::to_string(showTime) + " " + std::to_string(chapterId) +
                         " " + std::to_string(subjectId) + (filter.empty() ? "" : " filtered"));
        lastFilter = filter;
    }
    void openPaper(int showTime, int paperId, std::function<void()> onSubmitted) override {
        events.push_back("paper " + std::to_string(showTime) + " " + std::to_string(paperId));
        submitted = std::move(onSubmitted);
    }
    bool canOpenURL(const std::string&) override { return canOpen; }
    void openURL(const std::string& url) override { events.push_back("open " + url); }
    void animateWindowAway(const std::string& name, double seconds,
                           std::function<void(const std::string&)> finished) override {
        events.push_back("animate " + name + " " + std::to_string(seconds).substr(0, 3));
        animationFinished = std::move(finished);
    }
    void terminate(int status) override { events.push_back("exit " + std::to_string(status)); }
    void setDateRange(const std::string& a, const std::string& b) override { range = a + " " + b; }
    void setPickerDate(const std::string& d) override { pickerDate = d; }
    void setSwitchOn(const std::string& caption, bool on) override { switches[caption] = on; }
    void showTabs(const std::vector<std::string>& titles, int selected) override {
        tabs = titles;
        tab = selected;
    }
    void showRows(const std::vector<Row>& shown) override { rows = shown; }
    void showTip(const std::string& text) override { tips.push_back(text); }
    std::string fieldText(const std::string& name) const override {
        auto found = fields.find(name);
        return found == fields.end() ? std::string() : found->second;
    }
    void setFieldText(const std::string& name, const std::string& text) override {
        fields[name] = text;
    }
    void focusField(const std::string&) override {}
    void setButtonEnabled(const std::string& caption, bool enabled) override {
        buttons[caption] = enabled;
    }
    void showBusy(const std::string&) override { ++busyShown; }
    void hideBusy() override { ++busyHidden; }
    void loadHTMLString(const std::string& h, const std::string&) override { html = h; }
    void evaluateScript(const std::string&) override {}
    void setNavigationHandler(NavigationHandler h) override { navigationHandler = std::move(h); }
    void showProgress(const std::string& t, std::function<void()>) override {
        progressTitle = t;
        progressShown = true;
    }
    void setProgressTitle(const std::string& t) override { progressTitle = t; }
    void setProgress(double) override {}
    void hideProgress() override { progressShown = false; }

    // The captions of the rows shown.
    std::vector<std::string> captions() const {
        std::vector<std::string> out;
        for (const Row& r : rows)
            out.push_back(r.caption);
        return out;
    }

    std::string title, header, summary, range, pickerDate, html, progressTitle;
    std::map<std::string, std::string> labels, fields;
    std::map<std::string, bool> switches, buttons;
    std::vector<MenuItem> grid, sideMenu;
    std::vector<Dialog> dialogs;
    std::vector<List> lists;
    std::vector<std::string> events, tips, tabs;
    std::vector<Row> rows;
    int tab = -1, busyShown = 0, busyHidden = 0;
    bool canOpen = true, progressShown = false;
    SubjectFilter lastFilter;
    std::function<void()> submitted;
    std::function<void(const std::string&)> animationFinished;
    NavigationHandler navigationHandler;
    // When set, pushing a screen runs it first (it may throw).
    std::function<void()> pushThrows;
};

}  // namespace examora::testing
