// CourseUtil: taking, scoring, listing and deleting papers.

#include "engine/course_util.h"
#include "engine/paper_texts.h"
#include "platform/exam_error.h"
#include "platform/strformat.h"
#include "store/database_scope.h"

namespace examora {

namespace {
constexpr const char* kSubmitName = "提交试卷";
constexpr const char* kSubmitReason = "试卷提交失败，请重新提交！";
constexpr const char* kDeleteName = "删除试卷";
constexpr const char* kDeleteReason = "试卷删除失败，请稍后重试！";
}  // namespace

std::vector<BaseItemEntity> CourseUtil::loadPaperList(int courseId, int examStatus) {
    std::string sql;
    if (examStatus == 0) {
        sql = strformat(
            "select ipaperid,cpapername,itotalscore,dcreatedate,iexam from simulationpaper where "
            "icourseid=%d and iexam=0 and (ifromchapter is null or ifromchapter=0) order by "
            "ipaperid desc",
            courseId);
    } else if (examStatus == 1) {
        sql = strformat(
            "select ipaperid,cpapername,iscore,dexamtime,iexam from simulationpaper where "
            "icourseid=%d and iexam>0 and (ifromchapter is null or ifromchapter=0) order by "
            "dexamtime desc",
            courseId);
    } else {
        sql = strformat(
            "select ipaperid,cpapername,itotalscore,iscore,dexamtime,dcreatedate,iexam from "
            "simulationpaper where icourseid=%d and iexam>=0 and (ifromchapter is null or "
            "ifromchapter=0) order by dexamtime desc",
            courseId);
    }
    std::vector<BaseItemEntity> list;
    DatabaseScope scope(*this);
    auto rs = ExecuteDataReader(sql, std::vector<Value>{});
    while (rs && rs->next()) {
        BaseItemEntity item;
        item.key = std::to_string(rs->intForColumn("ipaperid"));
        item.name = rs->stringForColumn("cpapername").value_or(std::string());
        item.index = static_cast<int>(list.size());
        item.memo = rs->intForColumn("iexam") == 0
                        ? paperListMemoCreated(rs->doubleForColumn("itotalscore"),
                                               rs->stringForColumn("dcreatedate"))
                        : paperListMemoExamined(rs->doubleForColumn("iscore"),
                                                rs->stringForColumn("dexamtime"));
        list.push_back(std::move(item));
    }
    return list;
}

std::optional<SimulationPaperEntity> CourseUtil::loadPaperInfo(int paperId) {
    DatabaseScope scope(*this);
    auto rs = ExecuteDataReader("select * from simulationpaper where ipaperid=?", paperId);
    if (!rs || !rs->next()) return std::nullopt;
    SimulationPaperEntity paper;
    paper.initWithDict(rs->resultDictionary());
    rs.reset();
    paper.donecount = paper.correctcount = paper.wrongcount = 0;
    if (paper.exam >= 1) {
        auto counts = ExecuteDataReader(
            "select count(*) ifinishcount,sum(case when bcorrect=1 then 1 else 0 end) "
            "icorrectcount,sum(case when bcorrect=1 then 0 else 1 end) iwrongcount from "
            "simulationpaperdetail where ipaperid=? and cmyanswer>''",
            paperId);
        if (counts && counts->next()) {
            paper.donecount = counts->intForColumnIndex(0);
            paper.correctcount = counts->intForColumnIndex(1);
            paper.wrongcount = counts->intForColumnIndex(2);
        }
    }
    return paper;
}

void CourseUtil::clearMyAnswerInPaper(int paperId) {
    DatabaseScope scope(*this);
    if (!ExecuteScalar("select 0 from simulationpaperdetail where ipaperid=? and cmyanswer>'' "
                       "limit 1",
                       paperId))
        return;
    // Answers and the submission they were scored in go together, or the paper would show a
    // score its answers no longer hold.
    if (!BeginTran()) return;
    const bool wiped = ExecuteNonQuery(
                           "update simulationpaperdetail set cmyanswer='',bcorrect=0,imyscore=0 "
                           "where ipaperid=?",
                           paperId) &&
                       ExecuteNonQuery(
                           "update simulationpaper set iscore=0,iusetime=0,dexamtime=null,iexam=0 "
                           "where ipaperid=?",
                           paperId);
    if (wiped) {
        CommitTran();
    } else {
        RollbackTran();
    }
}

std::vector<int> CourseUtil::loadSubjectIdListOfPaperDetail(int paperId, int mode) {
    std::vector<int> ids;
    DatabaseScope scope(*this);
    auto rs = ExecuteDataReader(
        strformat("select b.isubjectid from coursesubject a,simulationpaperdetail b where "
                  "b.ipaperid=%d and a.isubjectid=b.isubjectid %@ order by a.isubjecttype, "
                  "b.iindex",
                  paperId, mode == 3 ? "and b.cmyanswer>'' and b.bcorrect=0" : ""),
        std::vector<Value>{});
    while (rs && rs->next())
        ids.push_back(rs->intForColumnIndex(0));
    return ids;
}

void CourseUtil::updateSubjectMyAnswerInPaper(int paperId, int subjectId, const std::string& answer,
                                              bool correct, float myscore) {
    // A paper's answer the store did not take is a failure the learner must see, as in practice.
    if (!ExecuteNonQuery("update simulationpaperdetail set cmyanswer=?,bcorrect=?,imyscore=? "
                         "where ipaperid=? and isubjectid=?",
                         answer, correct ? 1 : 0, static_cast<double>(myscore), paperId,
                         subjectId)) {
        throw ExamError(kSaveAnswerName, kSaveAnswerReason);
    }
}

void CourseUtil::sumitPaper(int paperId, int useSeconds) {
    if (!BeginTran()) throw ExamError(kSubmitName, kSubmitReason);
    // The sum always gives one row (null when nothing was earned); no row means the read failed.
    const std::optional<Value> earned = ExecuteScalar(
        "select sum(imyscore) iscore from simulationpaperdetail where ipaperid=? and imyscore>0",
        paperId);
    const float score = earned ? static_cast<float>(earned->asDouble()) : 0.0f;
    const bool stored = earned.has_value() &&
                        ExecuteNonQuery(
                            "update simulationpaper set iscore=?,iusetime=?,iexam=iexam+1,"
                            "dexamtime=datetime('now','localtime') where ipaperid=?",
                            score, useSeconds, paperId) &&
                        ExecuteNonQuery(
                            "update coursesubject set iwrong=abs(ifnull(iwrong,0))+1 where "
                            "isubjectid in (select isubjectid from simulationpaperdetail where "
                            "ipaperid=? and bcorrect=0 and cmyanswer>'')",
                            paperId);
    if (!stored) {
        RollbackTran();
        throw ExamError(kSubmitName, kSubmitReason);
    }
    if (!CommitTran()) throw ExamError(kSubmitName, kSubmitReason);
}

void CourseUtil::deletePaper(int paperId) {
    if (!BeginTran()) throw ExamError(kDeleteName, kDeleteReason);
    const bool deleted =
        ExecuteNonQuery("delete from simulationpaperdetail where ipaperid=?", paperId) &&
        ExecuteNonQuery("delete from simulationpaper where ipaperid=?", paperId);
    if (!deleted) {
        RollbackTran();
        throw ExamError(kDeleteName, kDeleteReason);
    }
    if (!CommitTran()) throw ExamError(kDeleteName, kDeleteReason);
}

}  // namespace examora
