#pragma once

#include <string>

#include "store/records/finish_count_result.h"
#include "store/records/simulation_paper_entity.h"

namespace examora {

// What the paper result screen shows after a submission.
struct PaperResultTexts {
    std::string title;    // "考试成绩"
    std::string paper;    // "试卷:<name>"
    std::string summary;  // total time, total score and time used
    std::string score;    // points earned, one decimal
    double scoreRatio;    // score / total score, 0 for a paper without points
    int correctCount;     // answered and right
    int wrongCount;       // answered and not right
    double correctShare;  // of the paper's subjects; 0 when it has none
    double wrongShare;
    std::string reviewButton;  // "查看解析"
};
PaperResultTexts paperResultTexts(const SimulationPaperEntity& paper);

// What the chapter practice result shows, from the chapter's totals.
struct ChapterResultTexts {
    std::string heading;   // "本次答题结果"
    std::string answered;  // "本次答题数量: %d 题"
    std::string rate;      // "正确率: %d%%", 0 when nothing was answered
    std::string correct;   // "答对: %d 题"
    std::string total;     // "总题数: %d 题"
    std::string button;    // "我知道了"
};
ChapterResultTexts chapterResultTexts(const FinishCountResult& result);

}  // namespace examora
