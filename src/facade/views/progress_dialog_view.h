#pragma once

#include <functional>
#include <string>

namespace examora {

// A dialog showing the progress of long work: a title that may change with the phase, a
// percentage from 0 to 100, and a cancel button whose press is reported once on the main queue.
class ProgressDialogView {
  public:
    virtual ~ProgressDialogView() = default;
    virtual void showProgress(const std::string& title, std::function<void()> onCancel) = 0;
    virtual void setProgressTitle(const std::string& title) = 0;
    virtual void setProgress(double percent) = 0;
    virtual void hideProgress() = 0;
};

}  // namespace examora
