#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/subject_filter.h"
#include "store/records/base_item_entity.h"
#include "store/records/base_tree_item_entity.h"
#include "store/records/course_chapter_entity.h"
#include "store/records/course_outline_entity.h"
#include "store/records/course_subject_entity.h"
#include "store/records/course_subject_exam_entity.h"
#include "store/records/finish_count_result.h"
#include "store/records/message_entity.h"
#include "store/records/paper_subject_count_entity.h"
#include "store/records/paper_subject_id_list_entity.h"
#include "store/records/photo_ad_entity.h"
#include "store/records/simulation_paper_entity.h"
#include "store/records/write_error_entity.h"
#include "store/records/write_note_entity.h"
#include "store/sqlite_helper.h"

namespace examora {

class ChapterProgress;

// The practice engine's data-access class for one learner's store: the course catalogue, the
// chapter trees and subject lists, answer recording, papers, review lists, notes and the
// clearing of a course's data. One header; the implementation is split by concern into
// course_util_<concern>.cpp files, and this header keeps the same sections in the same order.
//
// Like every data-access object it owns one connection and is used by one thread at a time.
// Operations that cannot complete throw ExamError; SQL errors are logged by the connection.
//
// The data-access base is private: callers get named operations, never raw SQL. Opening the
// database around a run of operations and the counted transaction stay available.
class CourseUtil : private SQLiteHelper {
  public:
    CourseUtil() = default;

    // Learner-data writes the store could not take (busy past its retry window) raise these: an
    // answer, and any other mark of the learner's.
    static constexpr const char* kSaveAnswerName = "保存答案";
    static constexpr const char* kSaveAnswerReason = "数据库正忙，答案没有保存，请稍后重试！";
    static constexpr const char* kNotSavedReason = "数据库正忙，没有保存，请稍后重试！";

    using SQLiteHelper::BeginTran;
    using SQLiteHelper::CloseDataBase;
    using SQLiteHelper::CommitTran;
    using SQLiteHelper::HasTransaction;
    using SQLiteHelper::isOpen;
    using SQLiteHelper::OpenDataBase;
    using SQLiteHelper::RollbackTran;
    using SQLiteHelper::tranCount;

    // ---- Clearing and download state (course_util_clearing.cpp) ------------------------------
    //
    // Each clearing runs in one counted transaction (nested inside a caller's transaction if
    // there is one). A statement that fails is logged and the clearing goes on; a failure raised
    // while clearing rolls the whole transaction back and is passed on. When the transaction
    // cannot be begun or committed nothing is cleared and ExamError is thrown.

    // Removes the course's downloaded chapters and subjects (with the learner's answers they
    // hold) and its papers with their detail rows, and marks the course as not downloaded. The
    // outline, notes and correction reports stay.
    void clearCourse(int courseId);
    // Removes the chosen kinds of the learner's records of the course: answers and mastered
    // marks (wrong counts, points, answer dates and favourites stay), favourites, and papers
    // with their detail rows.
    void clearCourse(int courseId, bool clearTestHistory, bool clearCollect,
                     bool clearSimulationPaper);
    // Whether any chapter of the course is stored.
    bool checkCourseHadDownload(int courseId);
    // Whether the course still has placeholder subjects whose content must be fetched. A
    // non-empty condition is an SQL condition the system builds from its own constants, added
    // with "and".
    bool needDownloadSubject(int courseId, const std::string& condition);

    // ---- Show time (course_util_chapters.cpp) -------------------------------------------------
    //
    // The practice mode every practice screen carries: test (practice) 0, 4, 5, 6; exam (taking
    // a paper) 1, 3; view (browsing a taken paper) 2. Any other value is none of them.
    static bool isTestShowTime(int showTime);
    static bool isExamShowTime(int showTime);
    static bool isViewShowTime(int showTime);

    // ---- Course catalogue (course_util_catalogue.cpp) -----------------------------------------
    //
    // Readers of the catalogue tables. Lists skip withdrawn rows (bstopflag=1), come back empty
    // (never missing) when nothing matches or a query fails, and number their entries from 1.

    // Classes in display order, each with its picture.
    std::vector<BaseItemEntity> loadCourseClassList();
    // Sub-classes of a class (id 1 or more) in display order, each with the class picture.
    std::vector<BaseItemEntity> loadCourseSubClassList(int classId);
    // Courses of a class and sub-class (classId >= 1), of a sub-class (classId -1), or all of them
    // (both -1), whose name contains `nameFilter` when that is not empty. The filter is matched
    // as plain text: quotes, "%" and "_" in it match themselves.
    std::vector<BaseItemEntity> loadCourseList(int classId, int subClassId,
                                               const std::string& nameFilter);
    // Courses matching a condition on the course alias `a` that the system builds from its own
    // constants; empty means "a.bstopflag=0".
    std::vector<BaseItemEntity> loadCourseList(const std::string& condition);
    // Classes (grade 0) each followed by its courses (grade 1).
    std::vector<BaseTreeItemEntity> LoadCourseTreeList();
    // The picture of a class, remembered once found; nullopt when there is none (not
    // remembered, so a picture stored later is found).
    std::optional<Bytes> getClassImage(const std::string& classId);
    std::optional<std::string> getCourseName(int courseId);
    int getClassIdBySubCalss(int subClassId);
    int getCourseClassId(int courseId);
    std::optional<std::string> getChapterName(int chapterId);
    int getChapterIdOfSubject(int subjectId);
    bool checkCourseHadDistrict(int courseId);
    // Every district name, in code order.
    std::vector<std::string> loadDistrict();
    // Answered and correctly answered subjects of the course (not withdrawn); with
    // calcTotalCount also the number of its subjects. Points stay 0.
    FinishCountResult getCourseFinishCount(int courseId);
    FinishCountResult getCourseFinishCount(int courseId, bool calcTotalCount);
    // Messages for the course or for every course, of the given kind when that is not empty.
    std::vector<MessageEntity> loadMessageListByCourseId(int courseId,
                                                         const std::string& messageType);
    std::vector<PhotoADEntity> loadPhotoADList();
    // The application's start pictures (url empty).
    std::vector<PhotoADEntity> loadPhotoADImage();

    // ---- Chapter tree and subject lists (course_util_chapters.cpp) -----------------------------

    // One level of a course's chapter trees: the children of `parentId`, or the top level when
    // it is 0 or below. The top level holds, per tree type, the chapters of that tree's smallest
    // grade (grade 0 chapters always). `condition`, when not empty, replaces the grade choice.
    // Each chapter's memo is "共%d题" without statistics, else its progress line: a leaf counts
    // its own subjects, any other chapter those of its whole subtree. Withdrawn chapters are
    // listed too; withdrawn subjects are never counted.
    std::vector<CourseChapterEntity> loadCourseChapterList(int courseId, int parentId,
                                                           bool statistics,
                                                           const std::string& condition);
    // Subject ids of a chapter (0: the whole course) in practice order: type, position, id.
    // Show times 4 to 6 take the selection lists. nullopt when no statement could be built.
    std::optional<std::vector<int>> loadSubjectIdList(int courseId, int chapterId, int showTime,
                                                      const SubjectFilter& condition);
    std::optional<std::vector<int>> loadSubjectIdList(int courseId, int chapterId, int showTime,
                                                      int filterKind,
                                                      const SubjectFilter& condition);
    // Answer-sheet entries of a chapter or selection, numbered from 1 in practice order.
    std::vector<CourseSubjectExamEntity> loadSubjectExamEntityList(int courseId, int chapterId,
                                                                   int showTime,
                                                                   const SubjectFilter& condition);
    // Answer-sheet entries of a paper with the paper's answers and points, numbered from 1.
    std::vector<CourseSubjectExamEntity> loadSubjectExamEntityListFromPaper(
        int paperId, const SubjectFilter& condition);
    // One subject with title and explanation deciphered; a subject without points takes the
    // default points of its type. nullopt when there is no such subject.
    std::optional<CourseSubjectEntity> loadSubjuectInfo(int subjectId);
    // One subject with the learner's answer, correctness and points in that paper.
    std::optional<CourseSubjectEntity> loadSubjuectInfoOfPaper(int paperId, int subjectId);
    // Totals of a chapter: subjects, answered, correct, points and points earned.
    FinishCountResult loadSubjectSumitResultForTest(int chapterId);

    // ---- Selection lists (course_util_selection.cpp) -------------------------------------------

    // The top chapters of a selection (4 favourites, 5 wrong answers, 6 noted), each counting
    // the matching subjects of its whole subtree in `count` and in its memo "共%d题"; chapters
    // without a matching subject are left out. Filter type 2 picks cut wrong answers, any other
    // value unresolved ones.
    std::vector<CourseChapterEntity> loadChapterListForSelectSubject(int courseId, int selectKind);
    std::vector<CourseChapterEntity> loadChapterListForSelectSubject(int courseId, int selectKind,
                                                                     int errFilterType);
    // One page of a selection's subjects (chapter 0: the whole course) in practice order: key
    // the subject id, name the deciphered title, memo the type name and the day it was last
    // answered ("未做题" when never). Page `pageIndex` of `pageSize` rows holds rows
    // pageIndex × pageSize + 1 onwards.
    std::vector<BaseItemEntity> loadSelectSubjectList(int courseId, int chapterId,
                                                      const SubjectFilter& condition,
                                                      int selectKind, int pageIndex, int pageSize);
    std::vector<BaseItemEntity> loadSelectSubjectList(int courseId, int chapterId,
                                                      const SubjectFilter& condition,
                                                      int selectKind, int errFilterType,
                                                      int pageIndex, int pageSize);
    // The condition that keeps a practice run over a selection to the subjects its list shows:
    // for wrong answers (5) the state of the filter type (cut for 2, unresolved otherwise);
    // other kinds need none (empty).
    SubjectFilter buildSelectSubjectFilter(int selectKind, int errFilterType);

    // ---- Wrong-answer drill and Ebbinghaus review (course_util_review.cpp) ---------------------
    //
    // Filter type 2 is the cut wrong answers (iwrong < 0), any other value the unresolved ones
    // (iwrong > 0). Periods and review windows are measured against SQLite's local clock, the
    // same clock that stamps answer dates.

    // Always three items, keys "1", "2", "3": wrong once, twice, more often; index and memo
    // "共 %d 题" carry the count.
    std::vector<BaseItemEntity> loadErrSubjectListOfCount(int courseId, int errFilterType);
    // Always four items, keys "1" to "4": last answered today, 1–2, 3–6 and 7 or more calendar
    // days ago. A subject without an answer date is in none of them.
    std::vector<BaseItemEntity> loadErrSubjectListOfPeriod(int courseId, int errFilterType);
    // The condition (on alias a) opening the subjects of a count item; keys above 3 act as 3.
    SubjectFilter builderFilterSqlOfErrSubjectCount(int courseId, int errFilterType, int countKey);
    // The condition opening the subjects of a period; period = key - 1, above 3 acts as 3.
    SubjectFilter builderFilterSqlOfErrSubjectPeroid(int courseId, int errFilterType, int period);
    // Eight items, one per review period 0–7 of the forgetting curve: index and name the period,
    // key the count as text, memo "共%d题". Only unresolved wrong subjects take part; one
    // answered less than 5 minutes ago is in no period.
    std::vector<BaseItemEntity> loadEbbinghausList(int courseId);
    // The condition (on alias a) selecting the subjects of a review period; a period outside
    // 0–7 has empty bounds and selects nothing.
    SubjectFilter buildEbbinghausSubjectListFilterSql(int courseId, int period);

    // ---- Answer recording and progress (course_util_answers.cpp) -------------------------------
    //
    // The learner's state of a subject and the last practice position of a course. A failing
    // statement is logged and a missing row is simply not changed; the learner's own marks
    // (favourite, remember) raise ExamError("", kNotSavedReason) when the store did not take
    // them, so that no screen reports them as done.

    void updateSubjectMyAnswerAndDate(int subjectId, const std::string& answer, bool correct,
                                      float myscore);
    void updateSubjectMyAnswerAndDate(int subjectId, const std::string& answer, bool correct);
    void clearSubjectMyAnswer(int courseId, int chapterId);
    void clearSubjectMyAnswer(int courseId);
    void clearSubjectMyAnswerAndDate(int courseId);
    // A wrong answer: the subject enters (or stays in) the wrong-answer list with one more wrong
    // answer, counted once per run of answers to the same subject.
    void doAddWrongSubjectCount(int subjectId);
    // Out of the wrong-answer list: outright sets the count to 0, otherwise (a correct answer)
    // the count is kept as a negative number.
    void doDeleteWrongSubject(int subjectId, bool outright);
    void doDeleteWrongSubject(int subjectId);
    void doCollectSubject(int subjectId);
    void doDeleteCollectSubject(int subjectId);
    void doRememberSubject(int subjectId);
    void doCancelRememberSubject(int subjectId);
    void updateCourseTestSubjectId(int courseId, int subjectId);
    void updateCourseTestSelectChapter(int courseId, int chapterId);
    void updateCourseTestState(int courseId, int chapterId, int mode, int subjectId);
    int getCourseLastTestSubjectId(int courseId);
    int getCourseTestSelectChapter(int courseId);

    // The subject whose wrong-answer count was handled last (0 at first).
    int preDoSubjectId() const { return preDoSubjectId_; }

    // Records the learner's answer to a subject shown in `showTime`, in the practice order:
    // an answer equal to the current one ignoring case records nothing (false is returned);
    // otherwise the answer is marked and stored in the record (myanswer, correct, myscore); in a
    // test show time the subject row takes answer, correctness, points and date, in an exam show
    // time `recordInPaper` (when given) stores it instead; then a correct answer moves the subject
    // out of the wrong-answer list and a wrong one into it. An empty answer (the learner cleared
    // it) is recorded with no points and moves no wrong count: it is no answer at all. When the
    // store cannot take the answer, the record is put back as it was and ExamError is thrown.
    bool recordPracticeAnswer(
        CourseSubjectEntity& subject, const std::string& answer, int showTime,
        const std::function<void(const CourseSubjectEntity&)>& recordInPaper = {});

    // ---- Paper building (course_util_papers.cpp) -----------------------------------------------

    // The default points of a subject type: the setting "isubjectscore<type>", 0 when unset.
    int getSubjectDefaultScore(int subjectType);
    // One item per subject type present in the course, by type: index the type code, name the
    // course's own type name when a subject carries one, else the default name; all selected.
    std::vector<BaseItemEntity> loadSubjectTypeListOfCourse(int courseId);
    // The leaf chapters of one tree type (not withdrawn) in code order: index the chapter id, key
    // its code, name its name, memo "共%d题"; none selected.
    std::vector<BaseItemEntity> loadChapterListForCreatePaper(int courseId);
    std::vector<BaseItemEntity> loadChapterListForCreatePaper(int courseId, int chapterType);
    // "<year><course name>全真模拟试题<k>" with the first k from the number of the course's papers
    // so named onwards that no paper of the course carries yet.
    std::string buildNewPaperName(int courseId);
    // The course's paper layout text "score,time|types score|types count"; empty when unset or
    // when the store has no such column.
    std::string getSubjectTypesOfPaper(int courseId);
    // The subjects a paper may draw from (`filter` on subject alias a and chapter alias b), one
    // per subject in bank order: type, position, id. Withdrawn subjects and chapters are left
    // out.
    std::vector<PaperSubjectIdListEntity> loadSubjectIdListForBuildPaper(int courseId,
                                                                         const std::string& filter);
    // How many subjects of each type a paper of `totalScore` points takes. This form: every type
    // the filtered bank holds, with the points of the settings (1 for single choice and true or
    // false, 2 otherwise, when unset).
    std::vector<PaperSubjectCountEntity> calcSubjectCountForBeforeBuildPaper(
        int courseId, int totalScore, const std::string& filter);
    // This form: the course's own layout, points and asked count per type code; a layout of
    // fewer than six types, or one asking for nothing, falls back to the form above.
    std::vector<PaperSubjectCountEntity> calcSubjectCountForBeforeBuildPaper(
        int courseId, int totalScore, const std::string& typesScore, const std::string& typesCount,
        const std::string& filter);
    // The two ways to the entity list before fitting: the types the layout asks for (empty when
    // it has fewer than six types or asks for nothing), and the types of a loaded bank with the
    // points of the settings. The forms above are these followed by the fitting.
    std::vector<PaperSubjectCountEntity> layoutSubjectCounts(const std::string& typesScore,
                                                             const std::string& typesCount);
    std::vector<PaperSubjectCountEntity> bankSubjectCounts(
        const std::vector<PaperSubjectIdListEntity>& candidates);
    // The fitting itself: sets each entity's count so that counts × whole points make exactly
    // `totalScore`, or takes everything when the whole list is worth no more. Empty for an empty
    // list; throws ExamError "创建试卷失败" when the total cannot be met exactly (also for a total
    // below 1).
    std::vector<PaperSubjectCountEntity> calcSubjectCountForBeforeBuildPaper(
        int totalScore, std::vector<PaperSubjectCountEntity> list);
    // Stores the paper and its subjects (positions from 1, each with its points) in one
    // transaction. The new paper id, or 0 when nothing could be stored (nothing is then left).
    int buildNewPaper(int courseId, int totalTime, const std::string& paperName, float totalScore,
                      const std::vector<PaperSubjectIdListEntity>& subjects);

    // ---- Paper taking and scoring (course_util_paper_taking.cpp) -------------------------------

    // The course's papers (not those of chapter tests) as list items numbered from 0. Status 0:
    // not submitted, newest first; 1: submitted, latest submission first; any other: all.
    std::vector<BaseItemEntity> loadPaperList(int courseId, int examStatus);
    // The paper, with the answered, right and wrong counts once it has been submitted; nullopt
    // for an unknown id.
    std::optional<SimulationPaperEntity> loadPaperInfo(int paperId);
    // Starts a fresh attempt: when any answer is stored, wipes every answer and the last
    // submission's score, time and count. A paper with no answer is left as it is.
    void clearMyAnswerInPaper(int paperId);
    // Subject ids of the paper grouped by type, in the paper's order within a type; mode 3 only
    // the answered and not right ones.
    std::vector<int> loadSubjectIdListOfPaperDetail(int paperId, int mode);
    // Throws ExamError kSaveAnswerName / kSaveAnswerReason when the store did not take it.
    void updateSubjectMyAnswerInPaper(int paperId, int subjectId, const std::string& answer,
                                      bool correct, float myscore);
    // Scores the attempt, stores the seconds used, counts the submission and raises the wrong
    // count of every answered subject that is not right (a cut one comes back unresolved). All or
    // nothing: throws ExamError "提交试卷" when it cannot be stored.
    void sumitPaper(int paperId, int useSeconds);
    // Removes the paper with its subjects, all or nothing: throws ExamError "删除试卷".
    void deletePaper(int paperId);

    // ---- Notes and correction reports (course_util_notes.cpp) --------------------------------
    //
    // Every write is paired with its exchange task in one counted transaction (nested inside a
    // caller's transaction if there is one), so a note or report is never stored without being
    // queued for upload, nor queued without being stored. A write that cannot complete is rolled
    // back as a whole and throws ExamError.

    // At most this many notes per subject.
    static constexpr int kMaxNotesPerSubject = 3;

    // The subject's notes in id order (id, text and change date filled).
    std::vector<WriteNoteEntity> loadMySubjectNoteList(int subjectId);
    // The note's text; the empty text when there is no such note.
    std::string getWriteNoteText(int noteId);
    // Adds a note dated now and queues it (action 0). Throws ExamError ("添加笔记失败") when the
    // subject has its three notes already; nothing is written then.
    void writeSubjectNote(int subjectId, const std::string& text);
    // Changes a note's text and date and queues the change (action 1).
    void modifySubjectNote(int noteId, const std::string& text);
    // Adds the subject's correction report (action 0) or replaces the one it has (action 1): a
    // subject keeps at most one report, the latest.
    void writeSubjectError(int subjectId, int errorType, const std::string& text);
    std::optional<WriteErrorEntity> loadSubjectError(int subjectId);

    // Queues an upload of a learner record: the row `primaryValue` of table `itemName`, created
    // (action 0) or changed (action 1) at `changeDate`, made by the current LoginUserName. A
    // record is queued at most once per action. False only when the task could not be stored.
    bool createNewExchangeTask(const std::string& itemName, const std::string& primaryValue,
                               const std::string& changeDate, int action);

    // ---- Search and outline (course_util_search.cpp) ------------------------------------------

    // Excerpts of search results are cut to this many characters (then "..." follows).
    static constexpr int kSearchExcerptLength = 100;

    // One page of the subjects of a course whose deciphered title contains `searchText`
    // (case-sensitive), taken in id order after `startSubjectId`: at most `pageSize` items with
    // key = subject id, name = the title (or its excerpt), memo = chapter name, index = position
    // in the page from 1. The next page starts after the last item's id. Subjects whose chapter
    // does not exist are not listed. Large courses are searched on two threads (see TitleSearch).
    std::vector<BaseItemEntity> loadSearchSubjectList(int courseId, const std::string& searchText,
                                                      int startSubjectId, int pageSize);
    // One level of the course's study outline (nodes of type below 10 still in use), in code
    // order: the top level for a parent id below 1 or unknown, else the parent's children (the
    // next grade within its code). `condition`, when not empty, is a condition the system builds
    // from its own constants, added with "and". Only id, code, name and the leaf mark are filled.
    std::vector<CourseOutlineEntity> loadCourseOutlineList(int courseId, int parentOutlineId,
                                                           const std::string& condition);
    // One outline node (code, name, type, url and text filled); nullopt for an unknown id.
    std::optional<CourseOutlineEntity> loadCourseOutlineInfo(int outlineId);

  private:
    // The statement listing the subjects of a selection (favourites, wrong answers, noted) in the
    // shape `resultKind` asks for; empty when none can be built.
    std::string buildSelectSqlForSelectSubject(int courseId, int chapterId, int selectKind,
                                               int resultKind, const std::string& condition);
    std::string buildSelectSqlForSelectSubject(int courseId, int chapterId, int selectKind,
                                               int resultKind, const std::string& condition,
                                               int errFilterType);
    // Setting name -> integer value of every setting named like "isubjectscore%".
    std::map<std::string, int> loadSubjectScoreSettings();
    // Entities for (type, subjects available) pairs with the points of the settings, or 1 for
    // single choice and true or false and 2 for the other types where a setting is unset or 0.
    std::vector<PaperSubjectCountEntity> countsWithSettingPoints(
        const std::vector<std::pair<int, int>>& available);
    // Runs write inside one counted transaction; a failure rolls it back and throws ExamError
    // with `failureName` (an ExamError raised by write passes unchanged).
    void runNoteWrite(const char* failureName, const std::function<void()>& write);

    // Runs clear inside one counted transaction under the rules above.
    void runClearing(const std::function<void()>& clear);
    void deletePapersOfCourse(int courseId);

    // The subject tallies of every chapter holding subjects of the course, in one pass.
    void loadChapterTallies(int courseId, ChapterProgress& progress);
    // Answer-sheet entries of a ready statement, numbered from 1; empty for an empty statement.
    std::vector<CourseSubjectExamEntity> loadExamEntities(const std::string& sql);
    // Course entries for a condition on alias `a` with its bound arguments.
    std::vector<BaseItemEntity> loadCourseListWhere(const std::string& condition,
                                                    const std::vector<Value>& args);

    // The search's own two connections (course_util_search.cpp), one per thread of a search,
    // opened on the first search and kept open with the file mapped: a walk over every title of
    // a course then reads the pages in place instead of one system call and copy per page. They
    // hold no lock while idle.
    SQLiteHelper& searchReader(std::size_t which);
    std::array<std::unique_ptr<SQLiteHelper>, 2> searchReaders_;

    // Class id text -> picture bytes, filled on first use of each class.
    std::map<std::string, Bytes> hmClassImage;
    int preDoSubjectId_ = 0;
};

}  // namespace examora
