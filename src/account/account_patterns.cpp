// The phone and e-mail tests of the account screens.
#include "account/account_patterns.h"

#include <regex>
#include <string>

#include "platform/text_util.h"

namespace examora {

namespace {

constexpr std::size_t kMaxAddressLength = 254;

const std::regex& phonePattern() {
    static const std::regex pattern("(1[3-9][0-9])\\d{8}$");
    return pattern;
}

// The general address pattern of RFC 5322 (lower case only: the text is lower-cased first).
const std::regex& emailPattern() {
    static const std::regex pattern(
        R"((?:[a-z0-9!#$%&'*+/=?^_`{|}~-]+(?:\.[a-z0-9!#$%&'*+/=?^_`{|}~-]+)*)"
        R"(|"(?:[\x01-\x08\x0b\x0c\x0e-\x1f\x21\x23-\x5b\x5d-\x7f]|\\[\x01-\x09\x0b\x0c\x0e-\x7f])*"))"
        R"(@(?:(?:[a-z0-9](?:[a-z0-9-]*[a-z0-9])?\.)+[a-z0-9](?:[a-z0-9-]*[a-z0-9])?)"
        R"(|\[(?:(?:25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)\.){3})"
        R"((?:25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?|[a-z0-9-]*[a-z0-9]:)"
        R"((?:[\x01-\x08\x0b\x0c\x0e-\x1f\x21-\x5a\x53-\x7f]|\\[\x01-\x09\x0b\x0c\x0e-\x7f])+)\]))");
    return pattern;
}

}  // namespace

bool AccountPatterns::isPhone(std::string_view text) {
    // The pattern is anchored at the end only; regex_match anchors it at the start as well.
    return std::regex_match(toLowerAscii(text), phonePattern());
}

bool AccountPatterns::isEmail(std::string_view text) {
    // The matcher recurses per character, so the length bound also keeps the stack small.
    if (text.size() > kMaxAddressLength) return false;
    return std::regex_match(toLowerAscii(text), emailPattern());
}

}  // namespace examora
