// CourseUtil: the selection lists of favourite, wrong-answer and noted subjects.

#include "engine/course_util.h"
#include "platform/strformat.h"
#include "platform/text_util.h"
#include "store/content_cipher.h"
#include "store/database_scope.h"

namespace examora {

namespace {

constexpr int kSelectCollect = 4;
constexpr int kSelectWrong = 5;
constexpr int kSelectNoted = 6;
constexpr int kFilterCut = 2;

// The wrong-answer state a filter type picks: cut for 2, unresolved for anything else.
const char* wrongSign(int errFilterType) {
    return errFilterType == kFilterCut ? "<" : ">";
}

// The subject condition of a selection kind on subject alias `alias`. Kinds other than
// favourites and noted subjects select wrong answers.
std::string selectCondition(const std::string& alias, int selectKind, int errFilterType) {
    if (selectKind == kSelectCollect) return alias + "bcollect=1";
    if (selectKind == kSelectNoted)
        return alias + "isubjectid in (select isubjectid from cs_writenote)";
    return alias + "iwrong" + wrongSign(errFilterType) + "0";
}

}  // namespace

SubjectFilter CourseUtil::buildSelectSubjectFilter(int selectKind, int errFilterType) {
    if (selectKind != kSelectWrong) return SubjectFilter();
    // Mentions "iwrong", so the selection's default (unresolved) state stays out.
    return SubjectFilter(selectCondition("a.", selectKind, errFilterType));
}

std::string CourseUtil::buildSelectSqlForSelectSubject(int courseId, int chapterId, int selectKind,
                                                       int resultKind,
                                                       const std::string& condition) {
    return buildSelectSqlForSelectSubject(courseId, chapterId, selectKind, resultKind, condition,
                                          0);
}

std::string CourseUtil::buildSelectSqlForSelectSubject(int courseId, int chapterId, int selectKind,
                                                       int resultKind, const std::string& condition,
                                                       int errFilterType) {
    const bool hasCondition = !isEmpty(std::string_view(condition));
    std::string where;
    // A drill condition chooses its own wrong counts (e.g. "iwrong=-2"), which the default
    // unresolved state would contradict; the cut state is kept, it never contradicts one.
    const bool wrongKind = selectKind != kSelectCollect && selectKind != kSelectNoted;
    if (!wrongKind || errFilterType == kFilterCut || !hasCondition ||
        condition.find("iwrong") == std::string::npos) {
        where = " and " + selectCondition("a.", selectKind, errFilterType);
    }
    if (hasCondition) where += strformat(" and %@", condition);

    std::string chapterPart;
    if (chapterId >= 1) {
        DatabaseScope scope(*this);
        auto rs = ExecuteDataReader(
            "select cchaptercode,itype from coursechapter where ichapterid=?", chapterId);
        if (!rs || !rs->next()) return std::string();
        const std::optional<std::string> code = rs->stringForColumnIndex(0);
        if (!code) return std::string();
        // The code comes from the service: quotes are doubled so it stays one literal.
        chapterPart = strformat(" and cchaptercode like '%@%%' and c.itype=%d",
                                replaceAll(*code, "'", "''"), rs->intForColumnIndex(1));
    }

    if (resultKind == 0) {
        return strformat(
            "select a.isubjectid from coursesubject a,coursechapter c  where a.icourseid=%d and "
            "c.bstopflag=0 and a.ichapterid=c.ichapterid %@%@ order by a.isubjecttype, a.iindex, "
            "a.isubjectid",
            courseId, where, chapterPart);
    }
    if (resultKind == 1) {
        return strformat(
            "select b.csubjectname,a.isubjectid,a.ctitle,c.cchaptername,a.ichapterid,"
            "a.danswerdate,abs(a.iwrong) as iwrong from coursesubject a,coursesubjecttype "
            "b,coursechapter c where a.icourseid=%d and c.bstopflag=0 and "
            "a.isubjecttype=b.isubjecttype and a.ichapterid=c.ichapterid  %@%@ order by "
            "a.isubjecttype, a.iindex, a.isubjectid",
            courseId, where, chapterPart);
    }
    return strformat(
        "select a.isubjectid,a.iscore,a.imyscore,a.iindex,a.canswer,a.cmyanswer,a.bcorrect from "
        "coursesubject a,coursechapter c where a.icourseid=%d and c.bstopflag=0 and "
        "a.ichapterid=c.ichapterid %@%@ order by a.isubjecttype, a.iindex, a.isubjectid",
        courseId, where, chapterPart);
}

std::vector<CourseChapterEntity> CourseUtil::loadChapterListForSelectSubject(int courseId,
                                                                             int selectKind) {
    return loadChapterListForSelectSubject(courseId, selectKind, 0);
}

std::vector<CourseChapterEntity> CourseUtil::loadChapterListForSelectSubject(int courseId,
                                                                             int selectKind,
                                                                             int errFilterType) {
    std::vector<CourseChapterEntity> list;
    DatabaseScope scope(*this);
    const int g = ExecuteScalarInt(
        "select min(igrade) from coursechapter where icourseid=? and itype=0 and bstopflag=0",
        courseId);
    const std::string level = g >= 1
                                  ? strformat(" and (c.itype=0 and c.igrade=%d or c.igrade=0)", g)
                                  : std::string(" and c.igrade=0");
    // Matching subjects per chapter; noted subjects are reached from the notes, which are few,
    // and each counts once however many notes it has. The others are grouped on an expression:
    // grouped on the bare column, SQLite walks an index in chapter order and reads every subject
    // row for its mark instead of the index that holds the marks.
    const std::string perChapter =
        selectKind == kSelectNoted
            ? strformat(
                  "select t0.ichapterid,count(*) icount from (select distinct isubjectid "
                  "from cs_writenote) t1,coursesubject t0 where t0.isubjectid=t1.isubjectid "
                  "and t0.icourseid=%d group by t0.ichapterid",
                  courseId)
            : strformat(
                  "select t0.ichapterid,count(*) icount from coursesubject t0 where "
                  "t0.icourseid=%d and %@ group by t0.ichapterid+0",
                  courseId, selectCondition("t0.", selectKind, errFilterType));
    // Summed per code and tree type over the chapters in use, then per listed chapter over every
    // code of its type that begins with its own.
    const std::string sql = strformat(
        "select c.ichapterid,sum(b.icount) icount,c.itype,c.cchaptercode,c.cchaptername,"
        "c.bendgrade from coursechapter c,(select a.cchaptercode,a.itype,sum(t.icount) icount "
        "from coursechapter a,(%@) t where a.icourseid=%d and a.bstopflag=0 and "
        "a.ichapterid=t.ichapterid group by a.cchaptercode,a.itype) b where c.icourseid=%d and "
        "c.bstopflag=0%@ and b.itype=c.itype and "
        "substr(b.cchaptercode,1,length(c.cchaptercode))=c.cchaptercode group by "
        "c.ichapterid,c.itype,c.cchaptercode,c.cchaptername,c.bendgrade order by "
        "c.itype,c.cchaptercode",
        perChapter, courseId, courseId, level);
    auto rs = ExecuteDataReader(sql, std::vector<Value>{});
    while (rs && rs->next()) {
        CourseChapterEntity chapter;
        chapter.initWithDict(rs->resultDictionary());
        chapter.memo = strformat("共%d题", chapter.count);
        list.push_back(std::move(chapter));
    }
    return list;
}

std::vector<BaseItemEntity> CourseUtil::loadSelectSubjectList(int courseId, int chapterId,
                                                              const SubjectFilter& filter,
                                                              int selectKind, int pageIndex,
                                                              int pageSize) {
    return loadSelectSubjectList(courseId, chapterId, filter, selectKind, 0, pageIndex, pageSize);
}

std::vector<BaseItemEntity> CourseUtil::loadSelectSubjectList(int courseId, int chapterId,
                                                              const SubjectFilter& filter,
                                                              int selectKind, int errFilterType,
                                                              int pageIndex, int pageSize) {
    const std::string& condition = filter.sql();
    std::vector<BaseItemEntity> list;
    if (pageIndex < 0 || pageSize < 1) return list;
    const std::string sql = buildSelectSqlForSelectSubject(courseId, chapterId, selectKind, 1,
                                                           condition, errFilterType);
    if (sql.empty()) return list;
    const long long first = static_cast<long long>(pageIndex) * pageSize;
    DatabaseScope scope(*this);
    auto rs = ExecuteDataReader(
        strformat("%@ limit %lld offset %lld", sql, static_cast<long long>(pageSize), first),
        std::vector<Value>{});
    while (rs && rs->next()) {
        BaseItemEntity item;
        item.key = std::to_string(rs->intForColumn("isubjectid"));
        const std::string title = rs->stringForColumn("ctitle").value_or(std::string());
        item.name = title.empty() ? title : ContentCipher::decipher(title).value_or(std::string());
        const std::optional<std::string> date = rs->stringForColumn("danswerdate");
        item.memo = strformat("%@ 答题:%@", rs->stringForColumn("csubjectname").value_or(""),
                              isEmpty(date) ? std::string("未做题") : date->substr(0, 10));
        item.index = static_cast<int>(list.size());
        list.push_back(std::move(item));
    }
    return list;
}

}  // namespace examora
