#pragma once

#include <map>
#include <string>
#include <vector>

#include "facade/views/busy_view.h"
#include "facade/views/button_view.h"
#include "facade/views/dialog_view.h"
#include "facade/views/field_view.h"
#include "facade/views/list_chooser_view.h"
#include "facade/views/navigation_view.h"
#include "facade/views/row_list_view.h"
#include "facade/views/tip_view.h"

namespace examora::testing {

// Every view an account screen talks to, recording what the screen did. Dialogs are answered
// with `dialogChoice` (by button caption), district lists with `districtChoice`.
class FakeAccountViews : public FieldView,
                         public TipView,
                         public BusyView,
                         public ButtonView,
                         public DialogView,
                         public ListChooserView,
                         public NavigationView,
                         public RowListView {
  public:
    std::string fieldText(const std::string& name) const override {
        auto found = fields.find(name);
        return found == fields.end() ? std::string() : found->second;
    }
    void setFieldText(const std::string& name, const std::string& text) override {
        fields[name] = text;
    }
    void focusField(const std::string&) override {}
    void showTip(const std::string& text) override { tips.push_back(text); }
    void showBusy(const std::string&) override { busy = true; }
    void hideBusy() override { busy = false; }
    void setButtonEnabled(const std::string& caption, bool enabled) override {
        buttons[caption] = enabled;
    }
    void showDialog(const std::string& title, const std::string& message,
                    const std::vector<std::string>& captions, Choice onChoice) override {
        dialogs.push_back(title + "/" + message);
        for (std::size_t i = 0; i < captions.size(); ++i) {
            if (captions[i] == dialogChoice) {
                onChoice(static_cast<int>(i));
                return;
            }
        }
        onChoice(-1);
    }
    void chooseFromList(const std::string&, std::vector<BaseItemEntity> items, bool,
                        Outcome onDone) override {
        for (BaseItemEntity& item : items)
            item.selected = item.name == districtChoice;
        onDone(items);
    }
    void pushScreen(const std::string& route, const std::string& argument) override {
        navigation.push_back("push " + route + " " + argument);
    }
    void popScreen() override { navigation.push_back("pop"); }
    void popToRoot() override { navigation.push_back("root"); }
    void showRows(const std::vector<Row>& shown) override { rows = shown; }

    std::map<std::string, std::string> fields;
    std::vector<std::string> tips;
    bool busy = false;
    std::map<std::string, bool> buttons;
    std::vector<std::string> dialogs;
    std::string dialogChoice = "确认";
    std::string districtChoice;
    std::vector<std::string> navigation;
    std::vector<Row> rows;
};

}  // namespace examora::testing
