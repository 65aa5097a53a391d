// SettingsWebScreen: the question page's settings.

#include "web/settings_web_screen.h"

#include "store/cus_setting_util.h"
#include "web/web_tab.h"

namespace examora {

using nlohmann::json;

const char* const SettingsWebScreen::kFontNames[5] = {"小号", "中号(默认)", "大号", "特大", "超大"};

namespace {

constexpr const char* kFontKey = "ifontsize";
constexpr const char* kLitKey = "iscreenlight";
constexpr const char* kNightKey = "ishowmode";

int fontSetting() {
    const std::string value = CusSettingUtil::getSettingValue(kFontKey);
    const int n = value.empty() ? 2 : std::atoi(value.c_str());
    return n >= 1 && n <= 5 ? n : 2;
}

bool on(const char* key) {
    return CusSettingUtil::getSettingValue(key) == "1";
}

}  // namespace

SettingsWebScreen::SettingsWebScreen(WebTab& tab, std::function<void(bool changed)> onClose)
    : WebScreen(tab, "list", "软件设置"), onClose_(std::move(onClose)) {}

SettingsWebScreen::~SettingsWebScreen() {
    if (onClose_) onClose_(changed_);
}

json SettingsWebScreen::spec() const {
    return {{"icon", "menu_setting"}, {"buttons", {kDefaults}}};
}

void SettingsWebScreen::show() {
    views().showRows({{kFontSize, kFontNames[fontSetting() - 1], true},
                      {kKeepLit, on(kLitKey) ? "开" : "关", false},
                      {kNight, on(kNightKey) ? "开" : "关", false}});
}

void SettingsWebScreen::store(const char* name, const std::string& value) {
    if (CusSettingUtil::getSettingValue(name) == value) return;
    CusSettingUtil::setSettingValue(name, value);
    changed_ = true;
}

void SettingsWebScreen::back() {
    auto onClose = std::move(onClose_);
    onClose_ = nullptr;
    tab().popScreen(id());
    if (onClose) onClose(changed_);
}

void SettingsWebScreen::handle(const json& event) {
    const std::string kind = event.value("e", "");
    if (kind == "action" && event.value("caption", "") == kDefaults) {
        store(kLitKey, "0");
        store(kNightKey, "0");
        store(kFontKey, "2");
    } else if (kind == "row") {
        const int index = event.value("index", -1);
        if (index == 1) store(kLitKey, on(kLitKey) ? "0" : "1");
        if (index == 2) store(kNightKey, on(kNightKey) ? "0" : "1");
        if (index == 0) {
            std::vector<BaseItemEntity> items(5);
            for (int i = 0; i < 5; ++i) {
                items[i].initWithPara(std::to_string(i + 1), kFontNames[i], "", i, {});
                items[i].selected = i + 1 == fontSetting();
            }
            views().chooseFromList(kFontSize, items, false, [this](auto chosen) {
                if (!chosen) return;
                for (const auto& item : *chosen) {
                    if (item.selected) store(kFontKey, item.key);
                }
                show();
            });
            return;
        }
    } else {
        return;
    }
    show();
}

}  // namespace examora
