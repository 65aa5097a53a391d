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

PaperResultTexts paperResultTexts(const SimulationPaperEntity& paper) {
    PaperResultTexts texts;
    texts.title = "考试成绩";
    texts.paper = strformat("试卷:%@", paper.papername);
    const std::string used = paperUsedTimeText(paper.usetime);
    const std::size_t colon = used.find(':');
    texts.summary = strformat("时间 : %@ 分钟   总分 : %@ 分   用时 : %@:%@",
                              std::to_string(paper.totaltime), strformat("%.0f", paper.totalscore),
                              used.substr(0, colon), used.substr(colon + 1));
    texts.score = strformat("%.1f", paper.score);
    texts.scoreRatio = paper.totalscore > 0 ? paper.score / paper.totalscore : 0.0;
    texts.correctCount = paper.correctcount;
    texts.wrongCount = paper.wrongcount;
    const bool hasSubjects = paper.subjectcount >= 1;
    texts.correctShare =
        hasSubjects ? static_cast<double>(paper.correctcount) / paper.subjectcount : 0.0;
    texts.wrongShare =
        hasSubjects ? static_cast<double>(paper.wrongcount) / paper.subjectcount : 0.0;
    texts.reviewButton = "查看解析";
    return texts;
}

ChapterResultTexts chapterResultTexts(const FinishCountResult& result) {
    ChapterResultTexts texts;
    texts.heading = "本次答题结果";
    texts.answered = strformat("本次答题数量: %d 题", result.finishcount);
    const int rate = result.finishcount > 0 ? result.correctcount * 100 / result.finishcount : 0;
    texts.rate = strformat("正确率: %d%%", rate);
    texts.correct = strformat("答对: %d 题", result.correctcount);
    texts.total = strformat("总题数: %d 题", result.itotalcount);
    texts.button = "我知道了";
    return texts;
}

}  // namespace examora
