#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "store/records/base_item_entity.h"

namespace examora {

// A list shown for the learner to choose from, one item or several (the items' `selected`
// marks carry the current choice). The outcome arrives once on the main queue: the items with
// their marks as left by the learner, or nothing when the list was dismissed.
class ListChooserView {
  public:
    using Outcome = std::function<void(std::optional<std::vector<BaseItemEntity>> items)>;

    virtual ~ListChooserView() = default;
    virtual void chooseFromList(const std::string& title, std::vector<BaseItemEntity> items,
                                bool multiple, Outcome onDone) = 0;
};

}  // namespace examora
