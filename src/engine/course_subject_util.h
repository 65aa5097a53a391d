#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "store/records/course_subject_entity.h"
#include "store/sqlite_helper.h"

namespace examora {

// Subject types by code, as stored in coursesubject.isubjecttype.
enum SubjectType : int {
    kSubjectSingleChoice = 0,
    kSubjectMultipleChoice = 1,
    kSubjectTrueFalse = 2,
    kSubjectQuestionAnswer = 3,
    kSubjectCase = 4,
    kSubjectFillBlank = 5,
    kSubjectOneOrMore = 6,
};

// The outcome of marking one answer. `myscore` is empty when the answer was empty: the caller
// then leaves the points it holds untouched.
struct AnswerMark {
    bool correct = false;
    std::optional<float> myscore;
};

// Answer checking and the small services the practice engine shares: subject type names, option
// splitting and distinct random draws. These are class-level and touch no table; the caller
// persists what they decide.
class CourseSubjectUtil : public SQLiteHelper {
  public:
    // Marks the record's myanswer against its answer and score (see markAnswer) and sets its
    // myscore, except for an empty answer, which leaves myscore as it was.
    static bool checkAnswerIsCorrect(CourseSubjectEntity& subject);

    // Marks `myanswer` against the right answer `answer` of a subject of the given type worth
    // `score` points (absent: 0). `deductPoints` is the points per right option of a partly right
    // multiple-choice answer. Exact, case-sensitive comparison throughout; an empty answer
    // ("NULL" included) is not an answer and yields {false, nullopt}.
    static AnswerMark markAnswer(int subjectType, std::string_view answer,
                                 std::string_view myanswer, std::optional<float> score,
                                 float deductPoints);
    // markAnswer with the session's MultiGuessDeductPoints.
    static AnswerMark markAnswer(int subjectType, std::string_view answer,
                                 std::string_view myanswer, std::optional<float> score);

    // The default display name of a subject type; "无" for unknown codes.
    static std::string getSubjectName(int subjectType);

    // Cuts a combined option text "A.x B.y C.z" into its `count` options, each keeping its letter
    // and separator at the front. An empty list when the text is too short or yields another
    // number of options; nullopt when an option letter is found but never followed by the
    // separator.
    static std::optional<std::vector<std::string>> buildAnswerArrayList(std::string_view text,
                                                                        int count);

    // `count` distinct integers of min..max in the order drawn. A count larger than the range is
    // cut to the range, and max below min gives an empty list, so the draw always ends.
    static std::vector<int> getRandomNum(int count, int min, int max);
    // The same draw from the given source, so that a seeded source repeats it.
    static std::vector<int> getRandomNum(int count, int min, int max, std::mt19937& random);
    // `candidate` when `list` does not hold it; otherwise a fresh draw of min..max that it does
    // not hold. The caller keeps the list smaller than the range.
    static int getNum(const std::vector<int>& list, int candidate, int min, int max);

    // Show-time classes: test (practice) 0, 4, 5, 6; exam (taking a paper) 1, 3; view 2.
    static bool isTest(int showTime) {
        return showTime == 0 || showTime == 4 || showTime == 5 || showTime == 6;
    }
    static bool isExam(int showTime) { return showTime == 1 || showTime == 3; }
    static bool isView(int showTime) { return showTime == 2; }

    // ---- Paper drawing (course_subject_util_papers.cpp) ----------------------------------------

    // Draws from a source seeded from the system; seedRandom makes the draws repeatable.
    CourseSubjectUtil();
    void seedRandom(std::uint32_t seed) { random_.seed(seed); }

    // Builds and stores a paper of the course worth `totalScore` points: the subject counts per
    // type follow the course's layout (`typesScore`, `typesCount`; empty: the settings and the
    // bank), then each type's subjects are drawn at random from the chosen types and chapters
    // (nullopt or empty: all). A type with exactly as many candidates as needed keeps bank
    // order. Returns the new paper id, 0 when it could not be stored; throws ExamError "随机组卷"
    // when the bank cannot supply the subjects and "创建试卷失败" when the total cannot be met.
    int createPaper(int courseId, int totalScore, int totalTime, const std::string& paperName,
                    const std::optional<std::vector<int>>& typeList, const std::string& typesScore,
                    const std::string& typesCount,
                    const std::optional<std::vector<int>>& chapterList);

  private:
    std::mt19937 random_;
};

}  // namespace examora
