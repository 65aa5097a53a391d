// The texts of paper lists and of paper and chapter-test results.

#include "engine/paper_texts.h"

#include "platform/strformat.h"
#include "platform/text_util.h"

namespace examora {

namespace {

// "yyyy-MM-dd HH:mm" of a stored date; the empty text for none.
std::string minuteText(const std::optional<std::string>& date) {
    if (isEmpty(date)) return std::string();
    return date->substr(0, 16);
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
