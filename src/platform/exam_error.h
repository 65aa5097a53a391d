#pragma once

#include <stdexcept>
#include <string>

namespace examora {

// A named failure of an engine operation, e.g. name "随机组卷", reason
// "没有找到任何满足条件的试题！". Engine code throws it; the facade catches it and hands it to the
// completion, and the screen shows the reason.
class ExamError : public std::runtime_error {
  public:
    ExamError(std::string name, std::string reason)
        : std::runtime_error(name + ": " + reason),
          name_(std::move(name)),
          reason_(std::move(reason)) {}

    const std::string& name() const { return name_; }
    const std::string& reason() const { return reason_; }

  private:
    std::string name_;
    std::string reason_;
};

}  // namespace examora
