// DateTime: local date and time as "yyyy-MM-dd HH:mm:ss" text and epoch seconds.

#include "platform/date_time.h"

#include <cstdio>
#include <ctime>

namespace examora {

namespace {

bool readNumber(std::string_view s, std::size_t& pos, int minDigits, int maxDigits, int& out) {
    int digits = 0;
    int value = 0;
    while (pos < s.size() && digits < maxDigits && s[pos] >= '0' && s[pos] <= '9') {
        value = value * 10 + (s[pos] - '0');
        ++pos;
        ++digits;
    }
    if (digits < minDigits) return false;
    out = value;
    return true;
}

bool expect(std::string_view s, std::size_t& pos, char c) {
    if (pos < s.size() && s[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

}  // namespace

std::optional<DateTime> DateTime::parse(std::string_view s) {
    DateTime d;
    std::size_t p = 0;
    if (!readNumber(s, p, 4, 4, d.year) || !expect(s, p, '-') || !readNumber(s, p, 1, 2, d.month) ||
        !expect(s, p, '-') || !readNumber(s, p, 1, 2, d.day) || !expect(s, p, ' ') ||
        !readNumber(s, p, 1, 2, d.hour) || !expect(s, p, ':') ||
        !readNumber(s, p, 1, 2, d.minute) || !expect(s, p, ':') ||
        !readNumber(s, p, 1, 2, d.second) || p != s.size())
        return std::nullopt;
    if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > daysInMonth(d.year, d.month) ||
        d.hour > 23 || d.minute > 59 || d.second > 59)
        return std::nullopt;
    return d;
}

DateTime DateTime::fromEpochLocal(std::int64_t secs) {
    std::time_t t = static_cast<std::time_t>(secs);
    std::tm tm{};
    localtime_r(&t, &tm);
    DateTime d;
    d.year = tm.tm_year + 1900;
    d.month = tm.tm_mon + 1;
    d.day = tm.tm_mday;
    d.hour = tm.tm_hour;
    d.minute = tm.tm_min;
    d.second = tm.tm_sec;
    return d;
}

DateTime DateTime::nowLocal() {
    return fromEpochLocal(static_cast<std::int64_t>(std::time(nullptr)));
}

std::string DateTime::format() const {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute,
                  second);
    return buf;
}

std::int64_t DateTime::toEpochLocal() const {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm));
}

std::string nowLocalText() {
    return DateTime::nowLocal().format();
}

}  // namespace examora
