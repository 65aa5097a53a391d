// CourseUtil: clearing a course's data and telling whether its subjects need downloading.

#include <exception>

#include "engine/course_util.h"
#include "platform/exam_error.h"
#include "platform/strformat.h"
#include "platform/text_util.h"

namespace examora {

namespace {
constexpr const char* kClearName = "清空数据";
constexpr const char* kClearBusyReason = "数据库正忙，数据没有清除，请稍后重试！";
}  // namespace

void CourseUtil::runClearing(const std::function<void()>& clear) {
    // Without the transaction every statement would fail alike (the database is locked by
    // another writer) and the clearing would look done while nothing was removed.
    if (!BeginTran()) throw ExamError(kClearName, kClearBusyReason);
    try {
        clear();
    } catch (...) {
        RollbackTran();
        throw;
    }
    if (!CommitTran()) throw ExamError(kClearName, kClearBusyReason);
}

void CourseUtil::deletePapersOfCourse(int courseId) {
    ExecuteNonQuery(
        "delete from simulationpaperdetail where ipaperid in "
        "(select ipaperid from simulationpaper where icourseid=?)",
        courseId);
    ExecuteNonQuery("delete from simulationpaper where icourseid=?", courseId);
}

void CourseUtil::clearCourse(int courseId) {
    runClearing([&] {
        ExecuteNonQuery(
            "update course set dchapterchange=null,dsubjectchange=null,doutlinechange=null where "
            "icourseid=?",
            courseId);
        ExecuteNonQuery("delete from coursechapter where icourseid=?", courseId);
        ExecuteNonQuery("delete from coursesubject where icourseid=?", courseId);
        deletePapersOfCourse(courseId);
    });
}

void CourseUtil::clearCourse(int courseId, bool clearTestHistory, bool clearCollect,
                             bool clearSimulationPaper) {
    runClearing([&] {
        if (clearTestHistory) {
            ExecuteNonQuery(
                "update coursesubject set cmyanswer='',bcorrect=0,bremember=0 where icourseid=?",
                courseId);
        }
        if (clearCollect) {
            ExecuteNonQuery("update coursesubject set bcollect=0 where icourseid=?", courseId);
        }
        if (clearSimulationPaper) deletePapersOfCourse(courseId);
    });
}

bool CourseUtil::checkCourseHadDownload(int courseId) {
    return ExecuteScalar("select 0 from coursechapter where icourseid=? limit 1", courseId)
        .has_value();
}

bool CourseUtil::needDownloadSubject(int courseId, const std::string& condition) {
    const std::string extra =
        isEmpty(std::string_view(condition)) ? std::string() : strformat(" and %@", condition);
    return ExecuteScalar(strformat("select 0 from coursesubject where icourseid=%d and "
                                   "cmaker='downloading'%@ limit 1",
                                   courseId, extra),
                         std::vector<Value>{})
        .has_value();
}

}  // namespace examora
