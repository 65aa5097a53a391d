#pragma once

#include <optional>
#include <string>

namespace examora {

// Paper list memos. Times show as "yyyy-MM-dd HH:mm"; five blanks separate the halves.
// A paper not submitted since its last start: its total score and creation time.
std::string paperListMemoCreated(double totalScore, const std::optional<std::string>& createDate);
// A submitted paper: the points earned (one decimal) and the submission time.
std::string paperListMemoExamined(double score, const std::optional<std::string>& examTime);

// Seconds used as "mm:ss": minutes with a leading 0 below 10, seconds always two digits. A
// negative time (a timer that went wrong) shows as 00:00.
std::string paperUsedTimeText(int useSeconds);

}  // namespace examora
