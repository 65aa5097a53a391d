#pragma once

#include <functional>
#include <string>

#include "facade/account_actions.h"
#include "facade/views/field_view.h"
#include "facade/views/navigation_view.h"
#include "facade/views/tip_view.h"

namespace examora {

// The rules of the screen that edits one item of the account: the e-mail (kind 0), the phone
// (1), the position (2) or other information (3). A new e-mail or phone must pass its format
// test and must not belong to another account; a value equal to the old one, letter case
// aside, is taken without any check.
class ItemEditScreen {
  public:
    static constexpr const char* kRoute = "member_item_edit";
    static constexpr const char* kValueField = "value";
    static constexpr const char* kConfirmButton = "确认";
    static constexpr const char* kNoEmail = "请填写邮件！";
    static constexpr const char* kNoPhone = "请填写手机！";
    static constexpr const char* kBadPhone = "手机格式不正确！";
    static constexpr const char* kPhoneTaken = "手机号码已经被注册！";
    static constexpr const char* kBadEmail = "邮箱格式不正确！";
    static constexpr const char* kEmailTaken = "邮箱已经被注册！";

    enum Kind { kEmail = 0, kPhone = 1, kPosition = 2, kInformation = 3 };

    struct Views {
        FieldView& fields;
        TipView& tip;
        NavigationView& navigation;
    };

    // `onAccepted` gets the accepted value, as the screen closes.
    ItemEditScreen(AccountActions& actions, Views views, int kind, std::string oldValue,
                   std::function<void(std::string)> onAccepted);

    // "修改邮箱", "修改手机", "修改职位" or "修改信息".
    const char* title() const;
    const std::string& oldValue() const { return oldValue_; }

    // "确认" with the field's value.
    void confirm();

  private:
    void accept(const std::string& value);

    AccountActions& actions_;
    Views views_;
    int kind_;
    std::string oldValue_;
    std::function<void(std::string)> onAccepted_;
};

}  // namespace examora
