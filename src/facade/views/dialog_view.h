#pragma once

#include <functional>
#include <string>
#include <vector>

namespace examora {

// A modal dialog with a title, a message and buttons. The choice arrives once, on the main queue,
// as the index of the button pressed (in the order given); a dialog closed without a choice
// (the screen went away) reports -1.
class DialogView {
  public:
    using Choice = std::function<void(int buttonIndex)>;

    virtual ~DialogView() = default;
    virtual void showDialog(const std::string& title, const std::string& message,
                            const std::vector<std::string>& buttons, Choice onChoice) = 0;
};

}  // namespace examora
