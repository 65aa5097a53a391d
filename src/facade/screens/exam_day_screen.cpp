// ExamDayScreen: the examination date of the current course and the days left until it.

#include "facade/screens/exam_day_screen.h"

#include <cstdint>
#include <cstdlib>

#include "app/common_setting.h"
#include "platform/strformat.h"
#include "store/cus_setting_util.h"

namespace examora {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr int kYearsAhead = 3;

std::string settingName() {
    return strformat("examdate%d", CommonSetting::CourseId());
}

std::string dateText(const DateTime& d) {
    return d.format().substr(0, 10);
}

}  // namespace

ExamDayScreen::ExamDayScreen(Views views, std::function<DateTime()> now)
    : views_(views), now_(std::move(now)) {}

std::optional<DateTime> ExamDayScreen::parseDate(const std::string& date) {
    if (date.size() != 10) return std::nullopt;
    return DateTime::parse(date + " 00:00:00");
}

std::string ExamDayScreen::daysText(const DateTime& now, const DateTime& date) {
    // The picker's date carries the time of day of the moment it was picked; taking it at now's
    // time keeps tomorrow one day away rather than a few hours.
    DateTime chosen = date;
    chosen.hour = now.hour;
    chosen.minute = now.minute;
    chosen.second = now.second;
    const std::int64_t seconds = chosen.toEpochLocal() - now.toEpochLocal();
    const std::int64_t days = seconds / kSecondsPerDay;
    return strformat("距离考试%d天", static_cast<int>(std::llabs(days)));
}

void ExamDayScreen::open() {
    views_.title.setTitle(kTitle);
    views_.labels.setLabelText(kCaptionLabel, "考试日期");
    views_.labels.setLabelText(kDaysLabel, "距离考试0天");
    const DateTime now = now_();
    DateTime last = now;
    last.year += kYearsAhead;
    // 29 February three years on does not exist.
    if (last.month == 2 && last.day == 29) last.day = 28;
    views_.picker.setDateRange(dateText(now), dateText(last));

    DateTime shown = now;
    if (std::optional<DateTime> stored =
            parseDate(CusSettingUtil::getSettingValue(settingName()))) {
        shown = *stored;
    }
    views_.picker.setPickerDate(dateText(shown));
    showDays(shown);
}

void ExamDayScreen::dateChanged(const std::string& date) {
    std::optional<DateTime> chosen = parseDate(date);
    if (!chosen) return;
    CusSettingUtil::setSettingValue(settingName(), dateText(*chosen));
    showDays(*chosen);
}

void ExamDayScreen::showDays(const DateTime& date) {
    views_.labels.setLabelText(kDaysLabel, daysText(now_(), date));
}

}  // namespace examora
