#pragma once

#include <string>
#include <vector>

namespace examora {

// One command of the main screen: its number (grid cell or side-menu item), label and icon name.
struct MenuItem {
    int number = 0;
    std::string label;
    std::string icon;

    bool operator==(const MenuItem&) const = default;
};

// The main screen's function grid (three columns; a cell's number is row × 3 + column, and a
// number without an item is an empty cell) and its side menu with the learner header on top.
// A tap reports the number to the screen's logic.
class MenuView {
  public:
    virtual ~MenuView() = default;
    virtual void showGrid(const std::vector<MenuItem>& cells) = 0;
    virtual void showSideMenu(const std::vector<MenuItem>& items) = 0;
    // The header of the side menu: the learner's name, or the invitation to log in.
    virtual void showMemberHeader(const std::string& text) = 0;
};

}  // namespace examora
