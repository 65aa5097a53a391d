// CourseUtil: the learner's notes and correction reports, each with its exchange task.

#include <exception>

#include "app/common_setting.h"
#include "engine/course_util.h"
#include "platform/exam_error.h"
#include "store/database_scope.h"

namespace examora {

namespace {

constexpr const char* kNoteItem = "cs_writenote";
constexpr const char* kErrorItem = "cs_writeerror";
constexpr int kActionAdded = 0;
constexpr int kActionChanged = 1;

constexpr const char* kAddNoteFailed = "添加笔记失败";
constexpr const char* kTooManyNotes = "一个题目不能添加超过3个的笔记！";
constexpr const char* kModifyNoteFailed = "修改笔记失败";
constexpr const char* kWriteErrorFailed = "提交纠错失败";
constexpr const char* kNotSaved = CourseUtil::kNotSavedReason;

// A statement of a note write failed: the transaction must not be committed half done.
void require(bool ok) {
    if (!ok) throw ExamError("", kNotSaved);
}

}  // namespace

void CourseUtil::runNoteWrite(const char* failureName, const std::function<void()>& write) {
    if (!BeginTran()) throw ExamError(failureName, kNotSaved);
    try {
        write();
    } catch (const ExamError& e) {
        RollbackTran();
        if (e.name().empty()) throw ExamError(failureName, e.reason());
        throw;
    } catch (...) {
        RollbackTran();
        throw;
    }
    if (!CommitTran()) throw ExamError(failureName, kNotSaved);
}

std::vector<WriteNoteEntity> CourseUtil::loadMySubjectNoteList(int subjectId) {
    std::vector<WriteNoteEntity> list;
    DatabaseScope scope(*this);
    auto rs = ExecuteDataReader(
        "select id,cnotetext,dchangedate from cs_writenote where isubjectid=?", subjectId);
    while (rs && rs->next()) {
        WriteNoteEntity note;
        note.initWithDict(rs->resultDictionary());
        note.subjectid = subjectId;
        list.push_back(std::move(note));
    }
    return list;
}

std::string CourseUtil::getWriteNoteText(int noteId) {
    return ExecuteScalarString("select cnotetext from cs_writenote where id=?", noteId)
        .value_or(std::string());
}

void CourseUtil::writeSubjectNote(int subjectId, const std::string& text) {
    if (ExecuteScalarInt("select count(*) from cs_writenote where isubjectid=?", subjectId) >=
        kMaxNotesPerSubject) {
        throw ExamError(kAddNoteFailed, kTooManyNotes);
    }
    const std::string now = GetDateNow();
    runNoteWrite(kAddNoteFailed, [&] {
        require(ExecuteNonQuery(
            "insert into cs_writenote(isubjectid,cnotetext,dchangedate) values (?,?,?)", subjectId,
            text, now));
        const int id = ExecuteScalarInt("select last_insert_rowid()", std::vector<Value>{});
        if (id >= 1)
            require(createNewExchangeTask(kNoteItem, std::to_string(id), now, kActionAdded));
    });
}

void CourseUtil::modifySubjectNote(int noteId, const std::string& text) {
    const std::string now = GetDateNow();
    runNoteWrite(kModifyNoteFailed, [&] {
        require(ExecuteNonQuery("update cs_writenote set cnotetext=?,dchangedate=? where id=?",
                                text, now, noteId));
        require(createNewExchangeTask(kNoteItem, std::to_string(noteId), now, kActionChanged));
    });
}

void CourseUtil::writeSubjectError(int subjectId, int errorType, const std::string& text) {
    const std::string now = GetDateNow();
    runNoteWrite(kWriteErrorFailed, [&] {
        const int existing =
            ExecuteScalarInt("select id from cs_writeerror where isubjectid=?", subjectId);
        if (existing < 1) {
            require(ExecuteNonQuery(
                "insert into cs_writeerror(isubjectid,ierrortype,cerrortext,dchangedate) values "
                "(?,?,?,?)",
                subjectId, errorType, text, now));
            const int id = ExecuteScalarInt("select last_insert_rowid()", std::vector<Value>{});
            if (id >= 1) {
                require(createNewExchangeTask(kErrorItem, std::to_string(id), now, kActionAdded));
            }
        } else {
            require(ExecuteNonQuery(
                "update cs_writeerror set ierrortype=?,cerrortext=?,dchangedate=? where id=?",
                errorType, text, now, existing));
            require(
                createNewExchangeTask(kErrorItem, std::to_string(existing), now, kActionChanged));
        }
    });
}

std::optional<WriteErrorEntity> CourseUtil::loadSubjectError(int subjectId) {
    DatabaseScope scope(*this);
    auto rs = ExecuteDataReader("select * from cs_writeerror where isubjectid=?", subjectId);
    if (!rs || !rs->next()) return std::nullopt;
    WriteErrorEntity report;
    report.initWithDict(rs->resultDictionary());
    return report;
}

bool CourseUtil::createNewExchangeTask(const std::string& itemName, const std::string& primaryValue,
                                       const std::string& changeDate, int action) {
    DatabaseScope scope(*this);
    if (ExecuteScalar("select cprimaryvalue from sys_exchangeclienttask where cprimaryvalue=? and "
                      "citemname=? and iaction=?",
                      primaryValue, itemName, action)) {
        return true;
    }
    return ExecuteNonQuery(
        "insert into sys_exchangeclienttask(cprimaryvalue,citemname,iaction,dchangedate,cmaker) "
        "values (?,?,?,?,?)",
        primaryValue, itemName, action, changeDate, CommonSetting::LoginUserName());
}

}  // namespace examora
