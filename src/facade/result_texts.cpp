// The texts of the paper result and chapter result screens.

#include "facade/result_texts.h"

#include "engine/paper_texts.h"
#include "platform/strformat.h"

namespace examora {

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
