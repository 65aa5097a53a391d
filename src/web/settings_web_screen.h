#pragma once

#include <functional>

#include "web/web_screen.h"

namespace examora {

// The page settings ("软件设置"): the question text size, keeping the screen lit while
// answering, night mode, and going back to the defaults. Each change is stored at once in the
// custom settings; the practice session that opened the screen hears on closing whether
// anything changed.
class SettingsWebScreen : public WebScreen {
  public:
    static constexpr const char* kRoute = "settings";
    static constexpr const char* kFontSize = "字体大小";
    static constexpr const char* kKeepLit = "答题时屏幕常亮";
    static constexpr const char* kNight = "夜间模式";
    static constexpr const char* kDefaults = "恢复默认";

    // The five sizes, stored as 1 to 5 under "ifontsize".
    static const char* const kFontNames[5];

    SettingsWebScreen(WebTab& tab, std::function<void(bool changed)> onClose);
    ~SettingsWebScreen() override;

    nlohmann::json spec() const override;
    void start() override { show(); }
    void back() override;

  protected:
    void handle(const nlohmann::json& event) override;

  private:
    void show();
    void store(const char* name, const std::string& value);

    std::function<void(bool)> onClose_;
    bool changed_ = false;
};

}  // namespace examora
