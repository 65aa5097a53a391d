// CourseUtil: recording the learner's answers and the course's practice progress.

#include <exception>

#include "engine/course_subject_util.h"
#include "engine/course_util.h"
#include "engine/wrong_count_rule.h"
#include "platform/exam_error.h"
#include "platform/text_util.h"
#include "store/database_scope.h"

namespace examora {

namespace {

// A learner's mark the store did not take must not pass for done.
void requireMark(bool stored) {
    if (!stored) throw ExamError("", CourseUtil::kNotSavedReason);
}

}  // namespace

void CourseUtil::updateSubjectMyAnswerAndDate(int subjectId, const std::string& answer,
                                              bool correct, float myscore) {
    ExecuteNonQuery(
        "update coursesubject set cmyanswer=?,bcorrect=?,imyscore=?,danswerdate=datetime('now',"
        "'localtime') where isubjectid=?",
        answer, correct, myscore, subjectId);
}

void CourseUtil::updateSubjectMyAnswerAndDate(int subjectId, const std::string& answer,
                                              bool correct) {
    ExecuteNonQuery(
        "update coursesubject set cmyanswer=?,bcorrect=?,danswerdate=datetime('now','localtime') "
        "where isubjectid=?",
        answer, correct, subjectId);
}

void CourseUtil::clearSubjectMyAnswer(int courseId, int chapterId) {
    ExecuteNonQuery(
        "update coursesubject set cmyanswer='',bcorrect=0 where icourseid=? and ichapterid=?",
        courseId, chapterId);
}

void CourseUtil::clearSubjectMyAnswer(int courseId) {
    ExecuteNonQuery("update coursesubject set cmyanswer='',bcorrect=0 where icourseid=?", courseId);
}

void CourseUtil::clearSubjectMyAnswerAndDate(int courseId) {
    ExecuteNonQuery(
        "update coursesubject set cmyanswer='',bcorrect=0,danswerdate=null,imyscore=0 where "
        "icourseid=?",
        courseId);
}

void CourseUtil::doAddWrongSubjectCount(int subjectId) {
    DatabaseScope scope(*this);
    const int wrong =
        ExecuteScalarInt("select iwrong from coursesubject where isubjectid=?", subjectId);
    const WrongCountMove move = WrongCountRule::afterWrongAnswer(wrong, preDoSubjectId_, subjectId);
    if (move.newWrong) {
        ExecuteNonQuery("update coursesubject set iwrong=? where isubjectid=?", *move.newWrong,
                        subjectId);
    }
    if (move.handled) preDoSubjectId_ = subjectId;
}

void CourseUtil::doDeleteWrongSubject(int subjectId, bool outright) {
    DatabaseScope scope(*this);
    const int wrong =
        ExecuteScalarInt("select iwrong from coursesubject where isubjectid=?", subjectId);
    const WrongCountMove move =
        WrongCountRule::afterRemoval(wrong, preDoSubjectId_, subjectId, outright);
    if (move.newWrong) {
        ExecuteNonQuery("update coursesubject set iwrong=? where isubjectid=?", *move.newWrong,
                        subjectId);
    }
    if (move.handled) preDoSubjectId_ = subjectId;
}

void CourseUtil::doDeleteWrongSubject(int subjectId) {
    doDeleteWrongSubject(subjectId, true);
}

void CourseUtil::doCollectSubject(int subjectId) {
    requireMark(ExecuteNonQuery(
        "update coursesubject set bcollect=1,drememberdate=datetime('now','localtime') where "
        "isubjectid=?",
        subjectId));
}

void CourseUtil::doDeleteCollectSubject(int subjectId) {
    requireMark(
        ExecuteNonQuery("update coursesubject set bcollect=0 where isubjectid=?", subjectId));
}

void CourseUtil::doRememberSubject(int subjectId) {
    requireMark(ExecuteNonQuery(
        "update coursesubject set bremember=1,drememberdate=datetime('now','localtime') where "
        "isubjectid=?",
        subjectId));
}

void CourseUtil::doCancelRememberSubject(int subjectId) {
    requireMark(ExecuteNonQuery(
        "update coursesubject set bremember=0,drememberdate=null where isubjectid=?", subjectId));
}

void CourseUtil::updateCourseTestSubjectId(int courseId, int subjectId) {
    ExecuteNonQuery("update course set itestsubjectid=? where icourseid=?", subjectId, courseId);
}

void CourseUtil::updateCourseTestSelectChapter(int courseId, int chapterId) {
    ExecuteNonQuery("update course set iselectchapterid=? where icourseid=?", chapterId, courseId);
}

void CourseUtil::updateCourseTestState(int courseId, int chapterId, int mode, int subjectId) {
    ExecuteNonQuery(
        "update course set iselectchapterid=?,itestmode=?,itestsubjectid=? where icourseid=?",
        chapterId, mode, subjectId, courseId);
}

int CourseUtil::getCourseLastTestSubjectId(int courseId) {
    return ExecuteScalarInt("select itestsubjectid from course where icourseid=?", courseId);
}

int CourseUtil::getCourseTestSelectChapter(int courseId) {
    return ExecuteScalarInt("select iselectchapterid from course where icourseid=?", courseId);
}

bool CourseUtil::recordPracticeAnswer(
    CourseSubjectEntity& subject, const std::string& answer, int showTime,
    const std::function<void(const CourseSubjectEntity&)>& recordInPaper) {
    if (equalsIgnoringCase(answer, subject.myanswer)) return false;

    const CourseSubjectEntity before = subject;
    const int preDoBefore = preDoSubjectId_;
    subject.myanswer = answer;
    const bool cleared = isEmpty(std::string_view(answer));
    subject.correct = CourseSubjectUtil::checkAnswerIsCorrect(subject);
    // A cleared answer earns nothing; checking leaves the points of the old answer in place.
    if (cleared) subject.myscore = 0.0;

    if (isExamShowTime(showTime) && recordInPaper) recordInPaper(subject);

    // The answer and the wrong count it moves are one change of the subject row.
    // A store that cannot take the answer (busy past the retry window) is a failure the learner
    // must see; the record then goes back to what the store holds.
    DatabaseScope scope(*this);
    if (!BeginTran()) {
        subject = before;
        throw ExamError(kSaveAnswerName, kSaveAnswerReason);
    }
    try {
        if (isTestShowTime(showTime)) {
            updateSubjectMyAnswerAndDate(subject.subjectid, subject.myanswer, subject.correct,
                                         static_cast<float>(subject.myscore));
        }
        // A cleared answer is no answer: it neither solves a wrong subject nor adds a wrong one.
        if (!cleared) {
            if (subject.correct) {
                doDeleteWrongSubject(subject.subjectid, false);
            } else {
                doAddWrongSubjectCount(subject.subjectid);
            }
        }
    } catch (...) {
        RollbackTran();
        subject = before;
        preDoSubjectId_ = preDoBefore;
        throw;
    }
    if (!CommitTran()) {
        subject = before;
        preDoSubjectId_ = preDoBefore;
        throw ExamError(kSaveAnswerName, kSaveAnswerReason);
    }
    return true;
}

}  // namespace examora
