// The texts and openings of the wrong-answer drill and the memory review.

#include "facade/review_texts.h"

#include <array>

#include "engine/course_util.h"
#include "platform/strformat.h"
#include "platform/value.h"

namespace examora {

namespace {

constexpr int kWrongShowTime = 5;
constexpr int kPracticeShowTime = 0;

constexpr std::array<const char*, 8> kPeriodLabels = {
    "第一个记忆周期：5分钟", "第二个记忆周期：30分钟", "第三个记忆周期：12小时",
    "第四个记忆周期：1天",   "第五个记忆周期：2天",    "第六个记忆周期：4天",
    "第七个记忆周期：7天",   "第八个记忆周期：15天",
};

ReviewOpening message(const char* text) {
    ReviewOpening opening;
    opening.message = text;
    return opening;
}

ReviewOpening session(int showTime, SubjectFilter condition) {
    ReviewOpening opening;
    opening.showTime = showTime;
    opening.condition = std::move(condition);
    return opening;
}

}  // namespace

std::vector<BaseItemEntity> drillEntryItems() {
    std::vector<BaseItemEntity> items(2);
    items[0].initWithPara("1", "待解决", "", 1, {});
    items[1].initWithPara("2", "已砍", "", 2, {});
    return items;
}

std::string drillTitle(int errFilterType) {
    return errFilterType == 2 ? "错题强化－已砍" : "错题强化－待解决";
}

std::vector<std::string> drillTabTitles() {
    return {"章节目录", "错误次数", "记忆周期"};
}

ReviewOpening drillOpenCountItem(CourseUtil& util, int courseId, int errFilterType,
                                 const BaseItemEntity& item) {
    if (item.index == 0) return message("没有任何试题");
    return session(kWrongShowTime, util.builderFilterSqlOfErrSubjectCount(courseId, errFilterType,
                                                                          Value(item.key).asInt()));
}

ReviewOpening drillOpenPeriodItem(CourseUtil& util, int courseId, int errFilterType,
                                  const BaseItemEntity& item) {
    if (item.index == 0) return message("没有任何试题");
    return session(kWrongShowTime, util.builderFilterSqlOfErrSubjectPeroid(
                                       courseId, errFilterType, Value(item.key).asInt() - 1));
}

std::vector<std::string> memoryTabTitles() {
    return {"科学记忆", "艾宾浩斯"};
}

std::string ebbinghausPeriodLabel(int period) {
    if (period < 0 || period >= static_cast<int>(kPeriodLabels.size())) return std::string();
    return kPeriodLabels[static_cast<std::size_t>(period)];
}

std::string ebbinghausRowText(const BaseItemEntity& item) {
    return strformat("%@ %@", ebbinghausPeriodLabel(item.index), item.memo);
}

ReviewOpening memoryOpenItem(CourseUtil& util, int courseId, const BaseItemEntity& item) {
    // The count travels in the key.
    if (Value(item.key).asInt() < 1) return message("该阶段没有记忆的题库！");
    return session(kPracticeShowTime,
                   util.buildEbbinghausSubjectListFilterSql(courseId, item.index));
}

EbbinghausExplanation ebbinghausExplanation() {
    EbbinghausExplanation page;
    page.introHeading = "艾宾浩斯介绍";
    page.introText =
        "德国心理学家艾宾浩斯研究发现，遗忘在学习之后立即开始，而且遗忘的进程并不均匀：最初遗忘"
        "得很快，以后逐渐缓慢。在将要遗忘的时刻及时复习，记忆就能一次比一次牢固。科学记忆按答错"
        "试题的时间，把待解决的错题排入八个复习周期，提醒您在合适的时候再做一遍；重新作答后，试题"
        "回到第一个周期重新开始。";
    page.periodsHeading = "艾宾浩斯记忆周期";
    page.periodLabels.assign(kPeriodLabels.begin(), kPeriodLabels.end());
    return page;
}

}  // namespace examora
