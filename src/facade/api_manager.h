#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "account/user_util.h"
#include "engine/course_subject_util.h"
#include "engine/course_util.h"
#include "engine/subject_filter.h"
#include "facade/account_actions.h"
#include "facade/guarded_lazy.h"
#include "platform/exam_error.h"
#include "platform/value.h"
#include "store/records/base_item_entity.h"
#include "store/records/course_chapter_entity.h"
#include "store/records/course_outline_entity.h"
#include "store/records/course_subject_entity.h"
#include "store/records/course_subject_exam_entity.h"

namespace examora {

// The one entry through which screens reach the practice engine (and, in their own files, the
// synchronisation and account code). Every operation runs on the caller's thread and invokes
// its completion exactly once before it returns: (result, nullptr) on success, (empty result,
// the error) when the work raised an ExamError. The completion is invoked outside the guarded
// work, so an exception thrown by the completion itself passes to the caller and the completion
// is never invoked a second time. Exceptions other than ExamError pass to the caller unchanged.
// An empty completion is allowed: the work runs and its result is dropped.
//
// The implementation is split by the layer each group of operations reaches:
// api_manager_engine.cpp (the practice engine); the synchronisation rows, each with a fresh
// ClientDataExchange per call, go in api_manager_sync.cpp, and the account rows in
// api_manager_account.cpp, where `dalUser` is held in a GuardedLazy (facade/guarded_lazy.h):
// created once on first use and lent to one thread at a time, since both the screens and the
// presence loop's worker reach it.
//
// Threads: screens call from the main queue; `dalCourse` and the subject utility belong to the
// main queue and must not be reached from elsewhere. The account rows may be called from any
// thread (the presence loop calls userLoginOnWithBlock from its worker).
//
// The account rows serve the account screens too: APIManager is an AccountActions, whose
// completions take the error by value.
class APIManager : public AccountActions {
  public:
    // (result, error): error is null on success; on failure the result is empty.
    template <class T>
    using Block = std::function<void(std::optional<T> result, const ExamError* error)>;
    // Rows whose result is a plain integer: 0 on failure.
    using IntBlock = std::function<void(int result, const ExamError* error)>;
    // Search: the page, the start id of the next page, the error; (nullopt, 0, error) on failure.
    using SearchBlock = std::function<void(std::optional<std::vector<BaseItemEntity>> list,
                                           int nextStartSubjectId, const ExamError* error)>;
    // The drill's lists: chapters (show object 0), or count or period items (1 and 2).
    using ErrSubjectList =
        std::variant<std::vector<CourseChapterEntity>, std::vector<BaseItemEntity>>;

    static constexpr const char* kCreatePaperName = "创建试卷";
    static constexpr const char* kCreatePaperReason = "创建试卷失败！";
    static constexpr const char* kPasswordName = "密码验证";
    static constexpr const char* kPasswordReason = "原来密码验证失败！";

    // The process's instance, created on the first call from any thread, never destroyed.
    static APIManager& sharedManager();

    // A manager of its own on the current database (tests, tools).
    APIManager();
    // The same, with `dalUser` built by makeUserUtil on first use (tests hand in one over a
    // scripted service).
    explicit APIManager(std::function<std::unique_ptr<UserUtil>()> makeUserUtil);
    ~APIManager() override;
    APIManager(const APIManager&) = delete;
    APIManager& operator=(const APIManager&) = delete;

    // The engine object the screens also call directly for simple reads and marks.
    CourseUtil& dalCourse() { return *dalCourse_; }
    void setDalCourse(std::unique_ptr<CourseUtil> course);

    // ---- Catalogue (api_manager_engine.cpp) --------------------------------------------------

    void getCourseName(int courseId, const Block<std::string>& block);
    // The flag plays no part: every class is listed.
    void loadCourseClass_withShowMyBook(bool showMyBook,
                                        const Block<std::vector<BaseItemEntity>>& block);
    void loadCourseSubClass_withclassId(int classId,
                                        const Block<std::vector<BaseItemEntity>>& block);
    void loadCourse_withclassId(int classId, int subClassId, const std::string& nameFilter,
                                const Block<std::vector<BaseItemEntity>>& block);

    // ---- Clearing -----------------------------------------------------------------------------

    void clearCourse(int courseId, bool clearTestHistory, bool clearCollect,
                     bool clearSimulationPaper, const IntBlock& block);
    void clearCourse(int courseId, const IntBlock& block);

    // ---- Chapters and subject lists ----------------------------------------------------------

    // Modes 4, 5 and 6: the selection's chapters of the current course; any other mode: one
    // level of the chapter tree with progress.
    void loadChapter_withShowTime(int showTime, int parentChapterId,
                                  const Block<std::vector<CourseChapterEntity>>& block);
    // Show object 0 chapters, 1 counts, 2 periods of the wrong answers; any other value gives
    // (nullopt, nullptr).
    void loadErrSubjectList_withShowObject(int showObject, int errFilterType,
                                           const Block<ErrSubjectList>& block);
    // Test modes: the subjects of chapter `parentId` of the current course. Other modes: the
    // subjects of paper `parentId`; mode 1 (a paper about to be taken) first wipes the answers
    // stored for the paper, every time.
    void loadSubjectIdList_withShowTime(int showTime, int parentId, const SubjectFilter& filterSql,
                                        const Block<std::vector<int>>& block);
    void loadSubjuectInfo_withSubjectId(int subjectId, const Block<CourseSubjectEntity>& block);
    void loadSubjuectInfo_withPaperId(int paperId, int subjectId,
                                      const Block<CourseSubjectEntity>& block);
    void loadSelectSubjectList_withCourse(int courseId, int chapterId,
                                          const SubjectFilter& filterSql, int showtime,
                                          int errFilterType, int pageIndex, int pageSize,
                                          const Block<std::vector<BaseItemEntity>>& block);
    // Test modes: the answer sheet of chapter `paperId`; other modes: that of paper `paperId`.
    void loadSubjectExamEntityList_withShowTime(
        int showTime, int courseId, int paperId, const SubjectFilter& filterSql,
        const Block<std::vector<CourseSubjectExamEntity>>& block);

    // ---- Answers, notes, removal -------------------------------------------------------------

    // Result: the chapter id.
    void clearSubjectMyAnswer(int courseId, int chapterId, const Block<int>& block);
    void buildWriteNoteHtmlwithSubject(int subjectId, bool isNetNote, const Value& userId,
                                       int pageIndex, const Block<std::string>& block);
    // Takes the subject out of the selection of the mode (4 favourites, 5 wrong answers, 6
    // noted); other modes do nothing. No completion: an error passes to the caller.
    void removeSubject_withSubjectId(int subjectId, int showTime);
    void loadSearchSubjectList_withcourseId(int courseId, const std::string& searchChar,
                                            int startSubjectId, int pageSize,
                                            const SearchBlock& block);

    // ---- Papers --------------------------------------------------------------------------------

    void loadPaperListWithCourse(int courseId, int examedStatus,
                                 const Block<std::vector<BaseItemEntity>>& block);
    void loadChapterListForCreatePaper(int courseId, int type,
                                       const Block<std::vector<BaseItemEntity>>& block);
    void loadSubjectTypeListOfCourse(int courseId, const Block<std::vector<BaseItemEntity>>& block);
    // Result: the new paper id; a paper that could not be stored is the error
    // kCreatePaperName / kCreatePaperReason, never a zero id.
    void createPaperWithCourseId(int courseId, int totalScore, int totalTime,
                                 const std::string& paperName,
                                 const std::optional<std::vector<int>>& lstType,
                                 const std::optional<std::vector<int>>& lstChapter,
                                 const std::string& typesScore, const std::string& typesCount,
                                 const IntBlock& block);
    // Scores and closes the attempt; `useTimes` is the time used in seconds. Result 1.
    void sumitPaperWithPaperId(int paperId, int useTimes, const IntBlock& block);

    // ---- Outline and review --------------------------------------------------------------------

    void loadCourseOutlineList_withParentOutlineId(
        int parentOutlineId, const Block<std::vector<CourseOutlineEntity>>& block);
    // An unknown id gives (nullopt, nullptr).
    void loadCourseOutlineInfo_withOutlineId(int outlineId,
                                             const Block<CourseOutlineEntity>& block);
    void loadEbbinghausListWithCourseId(int courseId,
                                        const Block<std::vector<BaseItemEntity>>& block);

    // ---- Learner data exchange (api_manager_sync.cpp) ----------------------------------------
    // Each runs a fresh ClientDataExchange for the current learner (LoginUserId) and answers
    // 1. A run in which a call did not reach the service, or a download could not be stored, is
    // the error kSyncName / kSyncFailed: what was not sent stays queued or marked for next time.

    static constexpr const char* kSyncName = "同步";
    static constexpr const char* kSyncFailed = "同步失败！";

    // Answers, papers and notes held by the service for the learner, merged into this device.
    void downloadUserDataFromServer_withBlock(const IntBlock& block);
    // The queued tasks, then the current course's answers and papers changed since the last
    // upload; `willClear` clears the learner's answer history on the service first and sends
    // every answer of the course.
    void uploadUserDataToServer_willClear(bool willClear, const IntBlock& block);
    // The oldest queued task; also 1 when the queue is empty or the task was dropped.
    void uploadTaskToServer_withBlock(const IntBlock& block);
    // Whether the service holds content of the course newer than the device's (a fresh
    // ClientDataExchange). The completion takes the answer alone; an error raised by the check
    // passes to the caller unchanged.
    void checkCourseHadNewUpdate_withCourseId(int courseId, int courseType,
                                              const std::function<void(bool)>& block);

    // ---- Accounts (api_manager_account.cpp) ----------------------------------------------------
    //
    // Each row reaches `dalUser`, created on first use and lent to one thread at a time; the
    // completion runs after the account object is given back, so it may call another row.

    void userLogin(const UserEntity& user, AccountActions::Block<int> block) override;
    void userRegist(const UserEntity& user, AccountActions::Block<int> block) override;
    // YES once the service accepted the change; a refusal or no answer is the error
    // UserAccountActions::kUpdateName / kUpdateReason and nothing changes on the device.
    void updateUserInfo(const UserEntity& user, AccountActions::Block<bool> block) override;
    // An old password that does not verify is the error kPasswordName / kPasswordReason, and
    // the password stays.
    void changeUserPassword(int userId, const std::string& oldPassword,
                            const std::string& myPassword,
                            AccountActions::Block<bool> block) override;
    void loadUserInfo(int userId, AccountActions::Block<UserEntity> block) override;
    void getUserStatusMemo(int userId, AccountActions::Block<std::string> block);
    void checkUserName(const std::string& name, AccountActions::Block<bool> block) override;
    void checkEMail(const std::string& email, AccountActions::Block<bool> block) override;
    void checkUserPhone(int userId, const std::string& phone,
                        AccountActions::Block<bool> block) override;
    void sendForgetpasswordEmail(const std::string& email,
                                 AccountActions::Block<bool> block) override;
    // Clears the learner on the device, then ends the online login when there is one.
    void userLoginOffWithBlock(AccountActions::Block<bool> block) override;
    // With nobody logged in: (NO, no error) and nothing else, not even `dalUser` is created.
    // Otherwise the online login id for (LoginUserId, DeviceId) becomes LoginOnlineId; on an
    // error LoginOnlineId becomes 0 before the completion gets the error.
    void userLoginOnWithBlock(AccountActions::Block<bool> block) override;

    // Whether `dalUser` exists yet.
    bool hasDalUser() const { return dalUser_.created(); }

  private:
    // Runs use(UserUtil&) on `dalUser` and hands the outcome to the block once the account
    // object is given back; a named failure becomes the block's error.
    template <class T, class Use>
    void withDalUser(const AccountActions::Block<T>& block, Use&& use);

    // Runs work (returning an optional result, or a value that converts to one) and hands the
    // outcome to the block under the rules above.
    template <class T, class Work>
    static void guarded(const Block<T>& block, Work&& work) {
        std::optional<T> result;
        std::optional<ExamError> error;
        try {
            result = std::forward<Work>(work)();
        } catch (const ExamError& e) {
            error = e;
        }
        if (!block) return;
        if (error) {
            block(std::nullopt, &*error);
        } else {
            block(std::move(result), nullptr);
        }
    }
    template <class Work>
    static void guardedInt(const IntBlock& block, Work&& work) {
        int result = 0;
        std::optional<ExamError> error;
        try {
            result = std::forward<Work>(work)();
        } catch (const ExamError& e) {
            error = e;
        }
        if (!block) return;
        if (error) {
            block(0, &*error);
        } else {
            block(result, nullptr);
        }
    }

    std::unique_ptr<CourseUtil> dalCourse_;
    CourseSubjectUtil subjectUtil_;
    GuardedLazy<UserUtil> dalUser_;
};

}  // namespace examora
