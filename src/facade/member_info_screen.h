#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "facade/account_actions.h"
#include "facade/district_chooser.h"
#include "facade/views/button_view.h"
#include "facade/views/dialog_view.h"
#include "facade/views/list_chooser_view.h"
#include "facade/views/navigation_view.h"
#include "facade/views/row_list_view.h"
#include "facade/views/tip_view.h"

namespace examora {

// The rules of the member information screen: the account, loaded off the main queue when the
// screen opens, shown as rows; e-mail and phone are edited on the item screen, the district from
// the district list; any change enables "提交修改", which sends the edited account after a
// confirmation. The screen closes only once the service has accepted the change.
//
// Lives on the main queue. The account actions must outlive the screen; the screen may go away
// while its load is under way (the late redraw is dropped). The load never touches the screen's
// account actions: they belong to the main queue, so the worker runs with account actions of its
// own and hands the account to the main queue as a value.
class MemberInfoScreen {
  public:
    static constexpr const char* kRoute = "member_info";
    static constexpr const char* kTitle = "会员信息";
    static constexpr const char* kNameRow = "账号";
    static constexpr const char* kEmailRow = "邮箱";
    static constexpr const char* kPhoneRow = "手机";
    static constexpr const char* kDistrictRow = "地区";
    static constexpr const char* kSubmitButton = "提交修改";
    static constexpr const char* kConfirmTitle = "会员信息修改";
    static constexpr const char* kConfirmMessage = "确认要提交修改吗？";
    static constexpr const char* kCancel = "取消";
    static constexpr const char* kConfirm = "确认";

    struct Views {
        RowListView& rows;
        ButtonView& buttons;
        DialogView& dialog;
        TipView& tip;
        ListChooserView& chooser;
        NavigationView& navigation;
    };

    // Makes the account actions one load runs with, on its worker.
    using LoadActions = std::function<std::unique_ptr<AccountActions>()>;

    // `onChanged` runs after an accepted change, as the screen closes. `loadActions` defaults to
    // fresh UserAccountActions (tests hand in ones over a scripted service).
    MemberInfoScreen(AccountActions& actions, Views views, DistrictChooser::Districts districts,
                     std::function<void()> onChanged, LoadActions loadActions = {});

    // Loads the current learner's account on a background worker; the rows are redrawn on the
    // main queue when it is in.
    void open();

    // The e-mail and phone rows open the item screen (argument: the item kind).
    void editEmail();
    void editPhone();
    void chooseDistrict();
    // The item screen's answer for an item kind.
    void itemEdited(int kind, const std::string& value);
    // The current value of an item kind, for the item screen.
    std::string itemValue(int kind) const;

    // "提交修改".
    void submit();

    const std::optional<UserEntity>& user() const { return user_; }
    bool changed() const { return changed_; }

  private:
    void loaded(std::optional<UserEntity> user);
    void redraw();
    void markChanged();
    void send();

    AccountActions& actions_;
    Views views_;
    DistrictChooser::Districts districts_;
    std::function<void()> onChanged_;
    LoadActions loadActions_;
    std::optional<UserEntity> user_;
    bool changed_ = false;
    // Tells a late load whether the screen still exists.
    std::shared_ptr<MemberInfoScreen*> self_;
};

}  // namespace examora
