#pragma once

#include <functional>
#include <string>
#include <vector>

#include "facade/views/list_chooser_view.h"

namespace examora {

// The district list of the account screens: one choice, with the current district preselected.
class DistrictChooser {
  public:
    static constexpr const char* kTitle = " 地区选择";

    using Districts = std::function<std::vector<std::string>()>;

    // Shows the districts; `onChosen` gets the chosen one, and nothing happens when the list is
    // dismissed or left without a choice.
    static void choose(ListChooserView& chooser, const Districts& districts,
                       const std::string& current, std::function<void(std::string)> onChosen);
};

}  // namespace examora
