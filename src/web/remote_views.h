#pragma once

#include <functional>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "facade/views/busy_view.h"
#include "facade/views/button_view.h"
#include "facade/views/date_picker_view.h"
#include "facade/views/delayed_call.h"
#include "facade/views/dialog_view.h"
#include "facade/views/field_view.h"
#include "facade/views/keep_awake.h"
#include "facade/views/label_view.h"
#include "facade/views/list_chooser_view.h"
#include "facade/views/navigation_view.h"
#include "facade/views/progress_dialog_view.h"
#include "facade/views/row_list_view.h"
#include "facade/views/summary_view.h"
#include "facade/views/switch_view.h"
#include "facade/views/tab_view.h"
#include "facade/views/tip_view.h"
#include "facade/views/title_view.h"

namespace examora {

class WebTimer;

// The general views of one screen shown in a browser tab: each call becomes a view command on the
// tab's event stream, and the browser's answers (dialog choices, list choices, field edits, the
// progress dialog's cancel) come back through handleEvent. The learner's taps on rows, tabs,
// switches and the date picker are the screen's own events. Main queue only.
//
// A callback handed in (a dialog's choice, a delayed call) runs at most once, and never after
// the views are gone; dialogs still open when the screen goes away report -1.
class RemoteViews : public DialogView,
                    public TipView,
                    public BusyView,
                    public NavigationView,
                    public FieldView,
                    public ButtonView,
                    public ListChooserView,
                    public RowListView,
                    public ProgressDialogView,
                    public SummaryView,
                    public KeepAwake,
                    public DelayedCall,
                    public TitleView,
                    public LabelView,
                    public SwitchView,
                    public TabView,
                    public DatePickerView {
  public:
    // How the views reach their tab: the command sender (the screen id is added) and the stack.
    struct Tab {
        std::function<void(nlohmann::json)> send;
        std::function<void(const std::string& route, const std::string& argument)> push;
        std::function<void()> pop;
        std::function<void()> popToRoot;
    };

    RemoteViews(int screenId, Tab tab, WebTimer& timer);
    ~RemoteViews() override;
    RemoteViews(const RemoteViews&) = delete;
    RemoteViews& operator=(const RemoteViews&) = delete;

    // Sends a command of this screen: `command` names the browser module, the screen id is added.
    void send(const std::string& command, nlohmann::json body);

    // The browser's answer addressed to these views ("dialog", "choose", "field", "cancel");
    // false for any other event.
    bool handleEvent(const nlohmann::json& event);
    // Reports -1 to every dialog still open and drops list choices still open.
    void dismissAll();

    void showDialog(const std::string& title, const std::string& message,
                    const std::vector<std::string>& buttons, Choice onChoice) override;
    void showTip(const std::string& text) override;
    void showBusy(const std::string& text) override;
    void hideBusy() override;
    void pushScreen(const std::string& route, const std::string& argument) override;
    void popScreen() override;
    void popToRoot() override;
    std::string fieldText(const std::string& name) const override;
    void setFieldText(const std::string& name, const std::string& text) override;
    void focusField(const std::string& name) override;
    void setButtonEnabled(const std::string& caption, bool enabled) override;
    void chooseFromList(const std::string& title, std::vector<BaseItemEntity> items, bool multiple,
                        Outcome onDone) override;
    void showRows(const std::vector<Row>& rows) override;
    void showProgress(const std::string& title, std::function<void()> onCancel) override;
    void setProgressTitle(const std::string& title) override;
    void setProgress(double percent) override;
    void hideProgress() override;
    void showSummary(const std::string& practised, const std::string& wrong,
                     const std::string& rate) override;
    void setKeepAwake(bool on) override;
    void callAfter(int milliseconds, std::function<void()> work) override;
    void setTitle(const std::string& title) override;
    void setLabelText(const std::string& name, const std::string& text) override;
    void setSwitchOn(const std::string& caption, bool on) override;
    void showTabs(const std::vector<std::string>& titles, int selected) override;
    void setDateRange(const std::string& minimum, const std::string& maximum) override;
    void setPickerDate(const std::string& date) override;

  private:
    int screenId_;
    Tab tab_;
    WebTimer& timer_;
    std::shared_ptr<int> life_ = std::make_shared<int>(0);
    int nextRequest_ = 1;
    std::map<int, Choice> dialogs_;
    std::map<int, std::pair<std::vector<BaseItemEntity>, Outcome>> choosers_;
    std::map<std::string, std::string> fields_;
    std::function<void()> onCancel_;
};

}  // namespace examora
