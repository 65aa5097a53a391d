// DistrictChooser: the district list shown by the registration and member information screens.
#include "facade/district_chooser.h"

namespace examora {

void DistrictChooser::choose(ListChooserView& chooser, const Districts& districts,
                             const std::string& current,
                             std::function<void(std::string)> onChosen) {
    std::vector<BaseItemEntity> items;
    const std::vector<std::string> names = districts ? districts() : std::vector<std::string>{};
    for (std::size_t i = 0; i < names.size(); ++i) {
        BaseItemEntity item;
        item.initWithPara(names[i], names[i], std::string(), static_cast<int>(i), Bytes{});
        item.selected = names[i] == current;
        items.push_back(std::move(item));
    }
    chooser.chooseFromList(
        kTitle, std::move(items), false,
        [onChosen = std::move(onChosen)](std::optional<std::vector<BaseItemEntity>> chosen) {
            if (!chosen) return;
            for (const BaseItemEntity& item : *chosen) {
                if (item.selected) {
                    onChosen(item.name);
                    return;
                }
            }
        });
}

}  // namespace examora
