#pragma once

#include <string>
#include <vector>

namespace examora {

// What the bars around a practice session's pages hold.
struct PracticeBars {
    // Navigation-bar buttons by tag: 1 subject list, 2 favourite, 3 note, 4 page settings.
    std::vector<int> navigationTags;
    // Bottom-bar buttons in order: previous, submit, next.
    std::vector<std::string> bottomTitles;
    // The header of papers: a "进度:" caption with a progress bar, and the clock label.
    bool progressHeader = false;
    bool clock = false;
    std::string clockText;
    // Colours as CSS texts: the page background, the buttons and their titles.
    std::string backgroundColor;
    std::string buttonColor;
    std::string buttonTitleColor;
};

// The bars of a practice session: navigation bar, bottom bar and the paper header.
class PracticeBarsView {
  public:
    virtual ~PracticeBarsView() = default;
    virtual void showBars(const PracticeBars& bars) = 0;
    // The image of the favourite button (tag 2).
    virtual void setFavouriteImage(const std::string& imageName) = 0;
    // The header's progress bar, a fraction from 0 to 1.
    virtual void setProgress(double fraction) = 0;
};

}  // namespace examora
