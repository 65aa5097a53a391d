#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace examora {

// A local date and time as the system stores it: text "yyyy-MM-dd HH:mm:ss", compared as text.
struct DateTime {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;

    // Strict parse of "yyyy-MM-dd HH:mm:ss" (one- or two-digit fields other than the year are
    // accepted); nullopt for anything else, or for an impossible calendar date.
    static std::optional<DateTime> parse(std::string_view text);
    static DateTime nowLocal();
    static DateTime fromEpochLocal(std::int64_t secondsSince1970);

    std::string format() const;         // "yyyy-MM-dd HH:mm:ss"
    std::int64_t toEpochLocal() const;  // seconds since 1970 of this local time
};

// Current local time as "yyyy-MM-dd HH:mm:ss".
std::string nowLocalText();

}  // namespace examora
