// The texts of paper lists and of paper and chapter-test results.

#include "engine/paper_texts.h"

#include "platform/strformat.h"
#include "platform/text_util.h"
#include "store/base_entity.h"

namespace examora {

namespace {

// "yyyy-MM-dd HH:mm" of a stored date in any form the store normalises, fractions of a second
// ignored; the empty text for none or for a text that is no date.
std::string minuteText(const std::optional<std::string>& date) {
    if (isEmpty(date)) return std::string();
    std::string text = *date;
    const std::size_t lastColon = text.rfind(':');
    const std::size_t fraction =
        lastColon == std::string::npos ? std::string::npos : text.find('.', lastColon);
    if (fraction != std::string::npos) text.resize(fraction);
    const std::optional<std::string> normalised = BaseEntity::toDate(Value(text));
    return normalised ? normalised->substr(0, 16) : std::string();
}

}  // namespace

std::string paperListMemoCreated(double totalScore, const std::optional<std::string>& createDate) {
    return strformat("总分：%d分     创建：%@", static_cast<long long>(totalScore),
                     minuteText(createDate));
}

std::string paperListMemoExamined(double score, const std::optional<std::string>& examTime) {
    return strformat("得分：%@分     考试：%@", strformat("%.1f", score), minuteText(examTime));
}

std::string paperUsedTimeText(int useSeconds) {
    const int seconds = useSeconds < 0 ? 0 : useSeconds;
    const std::string minutes = strformat(seconds < 600 ? "0%d" : "%d", seconds / 60);
    const int rest = seconds % 60;
    return strformat(rest < 10 ? "%@:0%d" : "%@:%d", minutes, rest);
}

}  // namespace examora
