#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "facade/views/practice_screens.h"
#include "store/records/base_item_entity.h"

namespace examora {

class WebScreen;
class WebTab;

// The facade's paper, result and settings screens in the browser, one builder per route, made
// as the list screens are (list_web_adapters.h).
namespace paper_web_adapters {

// The paper list; it builds its creation form, and that form its chapter chooser, so that each
// answer reaches the screen that asked.
std::unique_ptr<WebScreen> paperList(WebTab& tab);
std::unique_ptr<WebScreen> paperResult(WebTab& tab, int paperId,
                                       std::function<void(int choice)> onClose);
std::unique_ptr<WebScreen> chapterResult(WebTab& tab, int chapterId);
// The display settings; onClose (may be empty) hears on leaving whether anything changed.
std::unique_ptr<WebScreen> pageSettings(WebTab& tab, PracticeScreens::Closed onClose);
std::unique_ptr<WebScreen> clearData(WebTab& tab);
std::unique_ptr<WebScreen> examDay(WebTab& tab);

}  // namespace paper_web_adapters
}  // namespace examora
