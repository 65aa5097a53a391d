#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/subject_filter.h"
#include "store/records/base_item_entity.h"

namespace examora {

class CourseUtil;

// What choosing an item of the drill or of the memory review leads to: either a message (the
// item holds no subject) or the practice session in `showTime` on the subjects of `condition`.
struct ReviewOpening {
    std::optional<std::string> message;
    int showTime = 0;
    SubjectFilter condition;
};

// ---- Wrong-answer drill ----------------------------------------------------------------------

// The two ways into the drill, in order: "待解决" (filter type 1) and "已砍" (filter type 2).
std::vector<BaseItemEntity> drillEntryItems();
// "错题强化－待解决", or "错题强化－已砍" for filter type 2.
std::string drillTitle(int errFilterType);
// "章节目录", "错误次数", "记忆周期".
std::vector<std::string> drillTabTitles();
// Choosing an item of the count tab (loadErrSubjectListOfCount): "没有任何试题" for an empty
// item, else the wrong-answer session on that count.
ReviewOpening drillOpenCountItem(CourseUtil& util, int courseId, int errFilterType,
                                 const BaseItemEntity& item);
// Choosing an item of the period tab (loadErrSubjectListOfPeriod).
ReviewOpening drillOpenPeriodItem(CourseUtil& util, int courseId, int errFilterType,
                                  const BaseItemEntity& item);

// ---- Memory review ---------------------------------------------------------------------------

// "科学记忆", "艾宾浩斯".
std::vector<std::string> memoryTabTitles();
// The label of review period 0–7 ("第一个记忆周期：5分钟" …); empty outside.
std::string ebbinghausPeriodLabel(int period);
// The row text of an item of loadEbbinghausList: its period's label and its memo.
std::string ebbinghausRowText(const BaseItemEntity& item);
// Choosing an item of loadEbbinghausList: "该阶段没有记忆的题库！" when it holds no subject, else
// practice (show time 0) on the subjects of that period.
ReviewOpening memoryOpenItem(CourseUtil& util, int courseId, const BaseItemEntity& item);

// The explanation page: its two headings with their paragraphs, the second listing the eight
// period labels.
struct EbbinghausExplanation {
    std::string introHeading;  // "艾宾浩斯介绍"
    std::string introText;
    std::string periodsHeading;  // "艾宾浩斯记忆周期"
    std::vector<std::string> periodLabels;
};
EbbinghausExplanation ebbinghausExplanation();

}  // namespace examora
