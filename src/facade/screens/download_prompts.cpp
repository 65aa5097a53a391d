// DownloadPrompts: the dialogs that start a course download.

#include "facade/screens/download_prompts.h"

#include "app/common_setting.h"
#include "app/config_helper.h"

namespace examora {

namespace {
constexpr int kStartButton = 1;
}  // namespace

void DownloadPrompts::startDownloadSubject(bool check) {
    const bool online = CommonSetting::IsOnline();
    if (check) {
        if (!online || !links_.hasNewContent) return;
        if (!links_.hasNewContent(CommonSetting::CourseId())) return;
        dialog_.showDialog(kOfferTitle, kOfferMessage, {kNotNow, kStart}, [this](int button) {
            if (button == kStartButton && links_.downloadSubject) links_.downloadSubject(false);
        });
        return;
    }
    if (!online) {
        dialog_.showDialog(kOfflineTitle, kOfflineMessage, {kOfflineButton}, [](int) {});
        return;
    }
    dialog_.showDialog(kReloadTitle, kReloadMessage, {kNotNow, kStart}, [this](int button) {
        if (button == kStartButton) rebuild();
    });
}

void DownloadPrompts::rebuild() {
    if (!CommonSetting::District().empty() ||
        !course_.checkCourseHadDistrict(CommonSetting::CourseId())) {
        if (links_.downloadSubject) links_.downloadSubject(true);
        return;
    }
    const std::vector<std::string> districts = course_.loadDistrict();
    if (districts.empty()) return;
    std::vector<BaseItemEntity> items;
    for (std::size_t i = 0; i < districts.size(); ++i) {
        BaseItemEntity item;
        item.initWithPara(districts[i], districts[i], std::string(), static_cast<int>(i), Bytes{});
        items.push_back(std::move(item));
    }
    chooser_.chooseFromList(kDistrictTitle, std::move(items), false,
                            [this](std::optional<std::vector<BaseItemEntity>> chosen) {
                                if (!chosen) return;
                                for (const BaseItemEntity& item : *chosen) {
                                    if (!item.selected) continue;
                                    ConfigHelper::updateValue(ConfigHelper::kDistrict,
                                                              Value(item.name));
                                    CommonSetting::setDistrict(item.name);
                                    if (links_.downloadSubject) links_.downloadSubject(true);
                                    return;
                                }
                            });
}

}  // namespace examora
