#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "store/records/course_subject_entity.h"
#include "store/records/write_note_entity.h"
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

// The question page's display settings: process-wide, loaded from the custom settings and
// adjusted by the practice session before pages are built. Colours and sizes are CSS texts.
struct SubjectPageSettings {
    std::string foreColor = "#000000";      // text
    std::string backColor = "transparent";  // background of text blocks
    std::string bodybackColor = "#FFFFFF";  // page background
    std::string fontSize = "14px";
    int subjectshowmode = 0;   // 0 day, otherwise night
    int subjectshowlight = 0;  // 1: keep the screen lit while answering
    int showfunmode = 0;       // 0: the page carries its own tool bar
    int showmynote = 0;        // 1 or more: the answer area lists the learner's notes
    bool buildcss = false;     // styled controls (the style sheet's classes)
    bool showbackgroundimage = false;

    bool night() const { return subjectshowmode != 0; }
    std::string getBackColor1() const { return night() ? "#282c2f" : "#f0f0f0"; }
    std::string getBackColor2() const { return night() ? "#2b2d2d" : "#f3f5f5"; }
    std::string getLineColor() const { return night() ? "#828282" : "#e3e3e3"; }
    // The question number and the verdict of a wrong answer.
    std::string getWarnColor() const { return night() ? "#9b93ff" : "red"; }
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
class CourseSubjectUtil {
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

    // ---- Question page (course_subject_util_page.cpp, course_subject_util_answer_area.cpp) -----
    //
    // A subject is shown as one HTML page built as text. Question content (title, question,
    // options, answer, explanation) is HTML by design and goes in as it is; text a learner wrote
    // (answers typed into text fields, notes) is escaped. The page reports the learner's actions
    // as "ios://" navigations (see PageLink). Builders append to `html`.

    static SubjectPageSettings pageSettings();
    static void setPageSettings(const SubjectPageSettings& settings);
    // Changes the settings in place under the lock, e.g. the session's forced switches.
    static void updatePageSettings(const std::function<void(SubjectPageSettings&)>& change);
    // Reads "ifontsize" (1 to 5 pick the size; empty reads 2; anything else leaves the size),
    // "ishowmode" and "iscreenlight" from the custom settings, and sets the colours of the mode.
    static void loadSubjectSettings();
    // The "ifontsize" value → CSS size; nullopt outside 1..5.
    static std::optional<std::string> fontSizeForSetting(int value);

    // Where the learner's notes come from for the answer area; by default the store's
    // loadMySubjectNoteList. Replaced by callers that hold the notes already (and by tests).
    using NoteSource = std::function<std::vector<WriteNoteEntity>(int subjectId)>;
    static void setNoteSource(NoteSource source);

    // The whole page of a subject at `index` (from 0) of the session's list. In the wrong-answer
    // drill (show time 5) a stored answer that is not exactly right is cleared in `subject`
    // first, so the subject is offered for a new try.
    static void buildSubjectHtml_SplitAnswerMode(std::string& html, CourseSubjectEntity& subject,
                                                 int index, int showTime, int subjectType,
                                                 bool showAnswer, bool showHeading);
    // The script, one control per option of `optionText` and the answer area; falls back to
    // buildAnswerItems when a choice subject's options cannot be split.
    static void buildAnswerItems_SplitAnswerMode(std::string& html, const std::string& optionText,
                                                 const CourseSubjectEntity& subject, int showTime,
                                                 int subjectType, bool showAnswer);
    // The plain row of lettered controls with script and answer area; in view mode (2) only the
    // answer area.
    static void buildAnswerItems(std::string& html, const CourseSubjectEntity& subject,
                                 int showTime, int subjectType, bool showAnswer);
    // The answer area's content for `myanswer`: verdict and right answer (never while a paper is
    // being taken, mode 1), explanation, redo and report buttons, and the learner's notes.
    static void buildAnswerHtml_SplitAnswerMode(std::string& html,
                                                const CourseSubjectEntity& subject,
                                                const std::string& myanswer, int showTime);
    // The script call that fills the answer area after an answer: showanswer("…") with the
    // content as a JavaScript string literal.
    static std::string getDoAnswerHtml_SplitAnswerMode(const CourseSubjectEntity& subject,
                                                       const std::string& myanswer, int showTime);
    static std::string buildPStringOfHtml();
    // "file://" URL of a resource file of the page, blanks written "%20".
    static std::string resourceUrl(const std::string& fileName);

  private:
    std::mt19937 random_;
    static std::vector<WriteNoteEntity> notesOfSubject(int subjectId);
};

}  // namespace examora
