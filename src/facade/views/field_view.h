#pragma once

#include <string>

namespace examora {

// The editable text fields of a form, addressed by name. Reading gives what the learner typed;
// a field never shown reads empty.
class FieldView {
  public:
    virtual ~FieldView() = default;
    virtual std::string fieldText(const std::string& name) const = 0;
    virtual void setFieldText(const std::string& name, const std::string& text) = 0;
    // Puts the input focus (and the keyboard) on the field.
    virtual void focusField(const std::string& name) = 0;
};

}  // namespace examora
