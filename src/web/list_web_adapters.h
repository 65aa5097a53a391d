#pragma once

#include <memory>
#include <string>

#include "facade/screens/course_select_screen.h"

namespace examora {

class WebScreen;
class WebTab;

// The facade's list screens in the browser, one builder per route: each makes a FacadeWebScreen
// with the parts the browser draws, builds the screen's logic over its views and routes the
// browser's events to the logic's operations.
namespace list_web_adapters {

// Course selection; the choice goes to `onSelected`.
std::unique_ptr<WebScreen> courseSelect(WebTab& tab, CourseSelectScreen::Selected onSelected);
// The chapter tree of a mode (argument "<show time>" or "<show time>/<filter type>").
std::unique_ptr<WebScreen> chapterSelect(WebTab& tab, const std::string& argument);
// The subjects of a chapter in a selection mode ("<show time>/<chapter>/<filter type>").
std::unique_ptr<WebScreen> selectSubject(WebTab& tab, const std::string& argument);
std::unique_ptr<WebScreen> errorFilter(WebTab& tab);
// The drill of a filter type (argument "1" or "2").
std::unique_ptr<WebScreen> errorDrill(WebTab& tab, const std::string& argument);
std::unique_ptr<WebScreen> ebbinghaus(WebTab& tab);
std::unique_ptr<WebScreen> search(WebTab& tab);
std::unique_ptr<WebScreen> outline(WebTab& tab);
// An outline entry's page (argument its id).
std::unique_ptr<WebScreen> outlinePage(WebTab& tab, const std::string& argument);

}  // namespace list_web_adapters
}  // namespace examora
