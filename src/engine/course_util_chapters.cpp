// CourseUtil: show time, the chapter tree and the subject lists of a test or paper.

#include "engine/chapter_progress.h"
#include "engine/course_subject_util.h"
#include "engine/course_util.h"
#include "platform/strformat.h"
#include "platform/text_util.h"
#include "store/database_scope.h"

namespace examora {

namespace {

constexpr const char* kTallyColumns =
    "count(*) icount,sum(case when cmyanswer>'' then 1 else 0 end) ianswercount,"
    "sum(case when cmyanswer>'' and bcorrect=1 then 1 else 0 end) icorrectcount";

std::string joinIds(const std::vector<int>& ids) {
    std::string text;
    for (int id : ids) {
        if (!text.empty()) text += ',';
        text += std::to_string(id);
    }
    return text;
}

// " and <condition>" for a ready condition on the subject alias a, or nothing.
std::string andCondition(const std::string& condition) {
    return isEmpty(std::string_view(condition)) ? std::string() : strformat(" and %@", condition);
}

std::string chapterCondition(int chapterId) {
    return chapterId >= 1 ? strformat(" and ichapterid=%d", chapterId) : std::string();
}

}  // namespace

bool CourseUtil::isTestShowTime(int showTime) {
    return CourseSubjectUtil::isTest(showTime);
}
bool CourseUtil::isExamShowTime(int showTime) {
    return CourseSubjectUtil::isExam(showTime);
}
bool CourseUtil::isViewShowTime(int showTime) {
    return CourseSubjectUtil::isView(showTime);
}

std::vector<CourseChapterEntity> CourseUtil::loadCourseChapterList(int courseId, int parentId,
                                                                   bool statistics,
                                                                   const std::string& condition) {
    std::vector<CourseChapterEntity> list;
    DatabaseScope scope(*this);

    std::string levelCondition;
    std::vector<Value> args{courseId};
    std::string extra = condition;
    int wantedGrade = 0;
    if (parentId >= 1) {
        auto parent = ExecuteDataReader(
            "select cchaptercode,itype,igrade from coursechapter where ichapterid=?", parentId);
        if (!parent || !parent->next()) return list;
        const std::optional<std::string> code = parent->stringForColumnIndex(0);
        // A parent without a code has no children that can be told by their code.
        if (!code) return list;
        // Children share the parent's code as prefix (as a LIKE pattern) and its tree type.
        levelCondition =
            strformat(" and cchaptercode like ? and itype=%d", parent->intForColumnIndex(1));
        args.emplace_back(*code + "%");
        wantedGrade = parent->intForColumnIndex(2) + 1;
    } else {
        const int g0 = ExecuteScalarInt(
            "select min(igrade) from coursechapter where icourseid=? and itype=0 and bstopflag=0",
            courseId);
        if (g0 > 0) {
            const int g1 = ExecuteScalarInt(
                "select min(igrade) from coursechapter where icourseid=? and itype=1 and "
                "bstopflag=0",
                courseId);
            const std::string tops =
                strformat("(itype=0 and igrade=%d or itype=1 and igrade=%d or igrade=0)", g0, g1);
            extra = isEmpty(std::string_view(extra)) ? tops : extra + " and " + tops;
        }
    }
    const std::string gradeCondition = isEmpty(std::string_view(extra))
                                           ? strformat(" and  igrade=%d", wantedGrade)
                                           : strformat(" and %@", extra);

    auto rs = ExecuteDataReader(
        strformat("select ichapterid,cchaptercode,cchaptername,icount,bendgrade,itype from "
                  "coursechapter where icourseid=?%@%@ order by itype,cchaptercode",
                  levelCondition, gradeCondition),
        args);
    while (rs && rs->next()) {
        CourseChapterEntity chapter;
        chapter.initWithDict(rs->resultDictionary());
        chapter.memo = strformat("共%d题", chapter.count);
        list.push_back(std::move(chapter));
    }
    if (!statistics || list.empty()) return list;

    std::vector<int> leaves;
    bool anyBranch = false;
    for (const CourseChapterEntity& chapter : list) {
        if (chapter.endgrade) {
            leaves.push_back(chapter.chapterid);
        } else {
            anyBranch = true;
        }
    }
    // Leaves are read by their own ids (an index range each); branches from one pass over the
    // course's subjects, summed per subtree in memory instead of one pass per branch.
    ChapterProgress own;
    if (!leaves.empty()) {
        auto leafRows = ExecuteDataReader(
            strformat("select ichapterid,%@ from coursesubject where ichapterid in (%@) and "
                      "bstopflag=0 group by ichapterid",
                      kTallyColumns, joinIds(leaves)),
            std::vector<Value>{});
        while (leafRows && leafRows->next()) {
            own.addRow(
                {leafRows->intForColumnIndex(0),
                 true,
                 "",
                 0,
                 {leafRows->longLongIntForColumnIndex(1), leafRows->longLongIntForColumnIndex(2),
                  leafRows->longLongIntForColumnIndex(3)}});
        }
    }
    ChapterProgress course;
    if (anyBranch) loadChapterTallies(courseId, course);

    for (CourseChapterEntity& chapter : list) {
        const ChapterTally tally = chapter.endgrade
                                       ? own.leaf(chapter.chapterid)
                                       : course.subtree(chapter.chaptercode, chapter.type);
        chapter.memo = ChapterProgress::progressLine(tally, chapter.count);
    }
    return list;
}

void CourseUtil::loadChapterTallies(int courseId, ChapterProgress& progress) {
    DatabaseScope scope(*this);
    auto rs = ExecuteDataReader(
        strformat("select b.ichapterid,a.ichapterid,a.cchaptercode,a.itype,b.icount,"
                  "b.ianswercount,b.icorrectcount from (select ichapterid,%@ from coursesubject "
                  "where icourseid=? and bstopflag=0 group by ichapterid) b left join "
                  "coursechapter a on a.ichapterid=b.ichapterid",
                  kTallyColumns),
        courseId);
    while (rs && rs->next()) {
        progress.addRow({rs->intForColumnIndex(0),
                         !rs->columnIndexIsNull(1) && !rs->columnIndexIsNull(2),
                         rs->stringForColumnIndex(2).value_or(""),
                         rs->intForColumnIndex(3),
                         {rs->longLongIntForColumnIndex(4), rs->longLongIntForColumnIndex(5),
                          rs->longLongIntForColumnIndex(6)}});
    }
}

std::optional<std::vector<int>> CourseUtil::loadSubjectIdList(int courseId, int chapterId,
                                                              int showTime,
                                                              const SubjectFilter& filter) {
    return loadSubjectIdList(courseId, chapterId, showTime, 0, filter);
}

std::optional<std::vector<int>> CourseUtil::loadSubjectIdList(int courseId, int chapterId,
                                                              int showTime, int filterKind,
                                                              const SubjectFilter& filter) {
    const std::string& condition = filter.sql();
    std::string sql;
    if (showTime >= 4 && showTime <= 6) {
        sql =
            buildSelectSqlForSelectSubject(courseId, chapterId, showTime, 0, condition, filterKind);
    } else {
        sql = strformat(
            "select isubjectid from coursesubject a where icourseid=%d %@%@ and bstopflag=0 "
            "order by isubjecttype, iindex, isubjectid",
            courseId, chapterCondition(chapterId), andCondition(condition));
    }
    if (sql.empty()) return std::nullopt;
    std::vector<int> ids;
    DatabaseScope scope(*this);
    auto rs = ExecuteDataReader(sql, std::vector<Value>{});
    while (rs && rs->next())
        ids.push_back(rs->intForColumnIndex(0));
    return ids;
}

std::vector<CourseSubjectExamEntity> CourseUtil::loadSubjectExamEntityList(
    int courseId, int chapterId, int showTime, const SubjectFilter& filter) {
    const std::string& condition = filter.sql();
    const std::string sql =
        showTime != 0
            ? buildSelectSqlForSelectSubject(courseId, chapterId, showTime, 2, condition)
            : strformat(
                  "select isubjectid,iscore,imyscore,iindex,canswer,cmyanswer,bcorrect from "
                  "coursesubject a where icourseid=%d %@%@ and bstopflag=0 order by "
                  "isubjecttype, iindex, isubjectid",
                  courseId, chapterCondition(chapterId), andCondition(condition));
    return loadExamEntities(sql);
}

std::vector<CourseSubjectExamEntity> CourseUtil::loadSubjectExamEntityListFromPaper(
    int paperId, const SubjectFilter& filter) {
    const std::string& condition = filter.sql();
    return loadExamEntities(strformat(
        "select b.iindex,a.isubjecttype,a.isubjectid,a.csubjecttype,a.canswer,a.iscore,b.iscore "
        "imyscore,b.cmyanswer,b.bcorrect from coursesubject a,simulationpaperdetail b where "
        "b.ipaperid=%d%@ and a.isubjectid=b.isubjectid  order by a.isubjecttype, b.iindex,b.id",
        paperId, andCondition(condition)));
}

std::vector<CourseSubjectExamEntity> CourseUtil::loadExamEntities(const std::string& sql) {
    std::vector<CourseSubjectExamEntity> list;
    if (sql.empty()) return list;
    DatabaseScope scope(*this);
    auto rs = ExecuteDataReader(sql, std::vector<Value>{});
    while (rs && rs->next()) {
        CourseSubjectExamEntity entry;
        entry.initWithDict(rs->resultDictionary());
        entry.index = static_cast<int>(list.size()) + 1;
        list.push_back(std::move(entry));
    }
    return list;
}

std::optional<CourseSubjectEntity> CourseUtil::loadSubjuectInfo(int subjectId) {
    DatabaseScope scope(*this);
    auto rs = ExecuteDataReader("select * from coursesubject where isubjectid=?", subjectId);
    if (!rs || !rs->next()) return std::nullopt;
    CourseSubjectEntity subject;
    subject.initWithDict(rs->resultDictionary(), true);
    rs.reset();
    if (subject.score.value_or(0.0) <= 0.0) {
        subject.score = static_cast<double>(getSubjectDefaultScore(subject.subjecttype));
    }
    return subject;
}

std::optional<CourseSubjectEntity> CourseUtil::loadSubjuectInfoOfPaper(int paperId, int subjectId) {
    DatabaseScope scope(*this);
    auto rs = ExecuteDataReader(
        "select a.isubjectid,a.iindex,a.cmyanswer,a.bcorrect,a.iscore,a.imyscore,b.isubjecttype,"
        "b.ctitle,b.cquestion,b.canswer,b.ianswercount,b.cdescription,b.bpicquestion,b.bpicanswer,"
        "b.brich,b.csubjecttype from simulationpaperdetail a, coursesubject b where a.ipaperid=? "
        "and a.isubjectid=? and a.isubjectid=b.isubjectid",
        paperId, subjectId);
    if (!rs || !rs->next()) return std::nullopt;
    CourseSubjectEntity subject;
    subject.initWithDict(rs->resultDictionary(), true);
    return subject;
}

FinishCountResult CourseUtil::loadSubjectSumitResultForTest(int chapterId) {
    FinishCountResult result;
    DatabaseScope scope(*this);
    auto rs = ExecuteDataReader(
        "select count(*) itotalcount,sum(case when cmyanswer>'' then 1 else 0 end) ifinishcount,"
        "sum(case when cmyanswer>'' and bcorrect=1 then 1 else 0 end) icorrectcount,sum(iscore) "
        "iscore,sum(imyscore) imyscore  from coursesubject where ichapterid=? and bstopflag=0",
        chapterId);
    if (rs && rs->next()) {
        result.itotalcount = rs->intForColumn("itotalcount");
        result.finishcount = rs->intForColumn("ifinishcount");
        result.correctcount = rs->intForColumn("icorrectcount");
        result.myscore = rs->doubleForColumn("imyscore");
        result.totalscore = rs->doubleForColumn("iscore");
    }
    return result;
}

}  // namespace examora
