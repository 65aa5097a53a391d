// PageSettingsScreen: question text size, screen light, night mode and their defaults.

#include "facade/screens/page_settings_screen.h"

#include "engine/course_subject_util.h"
#include "store/cus_setting_util.h"

namespace examora {

namespace {
constexpr const char* kFontSizeSetting = "ifontsize";
constexpr const char* kShowModeSetting = "ishowmode";
constexpr const char* kScreenLightSetting = "iscreenlight";

int settingInt(const char* name, int fallback) {
    CusSettingUtil settings;
    return settings.getIntValue(name, fallback);
}
}  // namespace

std::vector<std::string> PageSettingsScreen::fontSizeNames() {
    return {"小号", "中号(默认)", "大号", "特大", "超大"};
}

int PageSettingsScreen::fontSize() {
    const int size = settingInt(kFontSizeSetting, kDefaultFontSize);
    return size >= 1 && size <= 5 ? size : kDefaultFontSize;
}

void PageSettingsScreen::open() {
    views_.title.setTitle(kTitle);
    show();
}

void PageSettingsScreen::show() {
    const std::vector<std::string> names = fontSizeNames();
    views_.rows.showRows({{kFontSizeRow, names[static_cast<std::size_t>(fontSize() - 1)], true},
                          {kRestoreRow, std::string(), false},
                          {kClearRow, std::string(), true}});
    views_.switches.setSwitchOn(kScreenLightSwitch, settingInt(kScreenLightSetting, 0) == 1);
    views_.switches.setSwitchOn(kNightModeSwitch, settingInt(kShowModeSetting, 0) == 1);
}

void PageSettingsScreen::store(const char* name, int value) {
    CusSettingUtil::setSettingValue(name, std::to_string(value));
    CourseSubjectUtil::loadSubjectSettings();
    changed_ = true;
}

void PageSettingsScreen::chooseFontSize() {
    const std::vector<std::string> names = fontSizeNames();
    std::vector<BaseItemEntity> items;
    const int current = fontSize();
    for (std::size_t i = 0; i < names.size(); ++i) {
        BaseItemEntity item;
        item.initWithPara(std::to_string(i + 1), names[i], std::string(), static_cast<int>(i + 1),
                          Bytes{});
        item.selected = static_cast<int>(i + 1) == current;
        items.push_back(std::move(item));
    }
    views_.chooser.chooseFromList(kFontSizeRow, std::move(items), false,
                                  [this](std::optional<std::vector<BaseItemEntity>> chosen) {
                                      if (!chosen) return;
                                      for (const BaseItemEntity& item : *chosen) {
                                          if (item.selected) {
                                              setFontSize(item.index);
                                              return;
                                          }
                                      }
                                  });
}

void PageSettingsScreen::setFontSize(int size) {
    if (size < 1 || size > 5) return;
    store(kFontSizeSetting, size);
    show();
}

void PageSettingsScreen::setScreenLight(bool on) {
    store(kScreenLightSetting, on ? 1 : 0);
    show();
}

void PageSettingsScreen::setNightMode(bool on) {
    store(kShowModeSetting, on ? 1 : 0);
    show();
}

void PageSettingsScreen::restoreDefaults() {
    CusSettingUtil::setSettingValue(kFontSizeSetting, std::to_string(kDefaultFontSize));
    CusSettingUtil::setSettingValue(kShowModeSetting, "0");
    store(kScreenLightSetting, 0);
    show();
}

void PageSettingsScreen::openClearing() {
    views_.navigation.pushScreen(kClearRoute, std::string());
}

}  // namespace examora
