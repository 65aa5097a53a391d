// MemberInfoWebScreen: the member information and its item editor.

#include "web/member_info_web_screen.h"

#include "facade/api_manager.h"
#include "web/web_context.h"
#include "web/web_tab.h"

namespace examora {

using nlohmann::json;

MemberInfoWebScreen::MemberInfoWebScreen(WebTab& tab, const std::string& route,
                                         const std::string& argument)
    : WebScreen(tab, route == ItemEditScreen::kRoute ? "form" : "list", MemberInfoScreen::kTitle) {
    if (route == ItemEditScreen::kRoute) {
        kind_ = std::atoi(argument.c_str());
        auto* info = dynamic_cast<MemberInfoWebScreen*>(tab.top());
        const std::string old = info && info->info_ ? info->info_->itemValue(kind_) : "";
        const int openerId = info ? info->id() : 0;
        item_ = std::make_unique<ItemEditScreen>(
            tab.context().accounts, ItemEditScreen::Views{views(), views(), views()}, kind_, old,
            [&tab, openerId, kind = kind_](std::string value) {
                auto* opener = dynamic_cast<MemberInfoWebScreen*>(tab.find(openerId));
                if (opener && opener->info_) opener->info_->itemEdited(kind, value);
            });
        setTitle(item_->title());
        views().setFieldText(ItemEditScreen::kValueField, old);
        return;
    }
    CourseUtil& course = tab.context().api.dalCourse();
    info_ = std::make_unique<MemberInfoScreen>(
        tab.context().accounts,
        MemberInfoScreen::Views{views(), views(), views(), views(), views(), views()},
        [&course] { return course.loadDistrict(); }, nullptr);
}

MemberInfoWebScreen::~MemberInfoWebScreen() = default;

json MemberInfoWebScreen::spec() const {
    if (item_) {
        return {{"fields",
                 {{{"name", ItemEditScreen::kValueField},
                   {"type", "text"},
                   {"hint", item_->title()},
                   {"value", item_->oldValue()}}}},
                {"buttons", {ItemEditScreen::kConfirmButton}}};
    }
    return {{"buttons", {MemberInfoScreen::kSubmitButton}}};
}

void MemberInfoWebScreen::start() {
    if (info_) {
        views().setButtonEnabled(MemberInfoScreen::kSubmitButton, false);
        info_->open();
    }
}

void MemberInfoWebScreen::handle(const json& event) {
    const std::string kind = event.value("e", "");
    if (item_) {
        if (kind == "action" && event.value("caption", "") == ItemEditScreen::kConfirmButton) {
            item_->confirm();
        }
        return;
    }
    if (kind == "action" && event.value("caption", "") == MemberInfoScreen::kSubmitButton) {
        info_->submit();
    } else if (kind == "row") {
        const int index = event.value("index", -1);
        if (index == 1) info_->editEmail();
        if (index == 2) info_->editPhone();
        if (index == 3) info_->chooseDistrict();
    }
}

}  // namespace examora
