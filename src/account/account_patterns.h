#pragma once

#include <string_view>

namespace examora {

// The text tests the account screens apply to what the learner types. Both lower-case the text
// first and match it as a whole.
class AccountPatterns {
  public:
    // A mainland mobile number: eleven digits, the first 1, the second 3 to 9.
    static bool isPhone(std::string_view text);
    // An address of the general RFC 5322 form: a dot-atom or quoted local part, "@", and a domain
    // of dot-separated labels (letters, digits, inner hyphens) or an address literal in brackets.
    // Texts longer than an address can be (254 bytes) are refused without matching.
    static bool isEmail(std::string_view text);
};

}  // namespace examora
