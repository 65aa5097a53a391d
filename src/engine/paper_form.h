#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/records/base_item_entity.h"

namespace examora {

// The leading integer of a number text as typed or stored ("12abc" → 12, "" → 0), clamped to the
// int range.
int paperTextInt(std::string_view text);
// The leading decimal number of a text ("1.5" → 1.5, "" → 0); anything not finite reads 0.
double paperTextFloat(std::string_view text);

// A course's paper layout text "score,time|types score|types count" taken apart. Missing
// fields stay empty; score and time are taken only from a first field of exactly two entries.
struct PaperLayout {
    std::string totalScore;
    std::string totalTime;
    std::string typesScore;
    std::string typesCount;
};
PaperLayout parsePaperLayout(std::string_view ctypscount);

// What the paper-creation form shows on opening: the layout's score and time, else the
// settings "iexamtotalscore" and "iexamtotaltime", else 140 points and 150 minutes; the types
// score and count travel unchanged to the paper.
PaperLayout paperFormDefaults(std::string_view ctypscount, std::string_view settingScore,
                              std::string_view settingTime);

// The tip that stops a submission of the form, or nullopt when it may go on.
std::optional<std::string> paperFormTip(std::string_view name, std::string_view totalScore,
                                        std::string_view totalTime);

// What the types row (types = true) or the chapters row shows for its selection list.
std::string paperSelectionRowText(const std::vector<BaseItemEntity>& items, bool types);

// The codes (index) of the selected items of a list the learner opened; nullopt for a list
// never opened, which means all.
std::optional<std::vector<int>> paperSelectedCodes(
    const std::optional<std::vector<BaseItemEntity>>& items);

// The subject condition of a paper (subject alias a, chapter alias b): the chosen chapters, or
// every chapter type when none is chosen, and the chosen types when any. An empty list adds no
// condition.
std::string paperFilterSql(const std::optional<std::vector<int>>& typeList,
                           const std::optional<std::vector<int>>& chapterList);

}  // namespace examora
