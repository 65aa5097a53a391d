// CourseUtil: building a paper: points per type, subject counts and candidate subjects.

#include <algorithm>
#include <cstdint>
#include <map>

#include "engine/course_util.h"
#include "engine/paper_form.h"
#include "platform/date_time.h"
#include "platform/exam_error.h"
#include "platform/strformat.h"
#include "platform/text_util.h"
#include "store/database_scope.h"

namespace examora {

namespace {

// Points of a type whose setting is unset or 0: single choice and true or false 1, others 2.
int fallbackPoints(int subjectType) {
    return subjectType == 0 || subjectType == 2 ? 1 : 2;
}

// " and <filter>" for a ready filter, or nothing.
std::string andFilter(const std::string& filter) {
    return isEmpty(std::string_view(filter)) ? std::string() : " and " + filter;
}

}  // namespace

int CourseUtil::getSubjectDefaultScore(int subjectType) {
    return ExecuteScalarInt("select cvalue from sys_cussetting where cname=?",
                            strformat("isubjectscore%d", subjectType));
}

std::vector<BaseItemEntity> CourseUtil::loadSubjectTypeListOfCourse(int courseId) {
    std::vector<BaseItemEntity> list;
    DatabaseScope scope(*this);
    // max() prefers any non-empty name of the course over the empty text and NULL.
    auto rs = ExecuteDataReader(
        "select a.isubjecttype,max(a.csubjecttype) ccoursename,b.csubjectname from coursesubject "
        "a left join coursesubjecttype b on a.isubjecttype=b.isubjecttype where a.icourseid=? "
        "and a.bstopflag=0 group by a.isubjecttype order by a.isubjecttype",
        courseId);
    while (rs && rs->next()) {
        BaseItemEntity item;
        item.index = rs->intForColumnIndex(0);
        item.key = std::to_string(item.index);
        const std::optional<std::string> own = rs->stringForColumnIndex(1);
        item.name = !isEmpty(own) ? *own : rs->stringForColumnIndex(2).value_or(std::string());
        item.selected = true;
        list.push_back(std::move(item));
    }
    return list;
}

std::vector<BaseItemEntity> CourseUtil::loadChapterListForCreatePaper(int courseId) {
    return loadChapterListForCreatePaper(courseId, 0);
}

std::vector<BaseItemEntity> CourseUtil::loadChapterListForCreatePaper(int courseId,
                                                                      int chapterType) {
    std::vector<BaseItemEntity> list;
    DatabaseScope scope(*this);
    auto rs = ExecuteDataReader(
        "select ichapterid,cchaptercode,cchaptername,icount from coursechapter where icourseid=? "
        "and itype=? and bendgrade=1 and bstopflag=0 order by cchaptercode",
        courseId, chapterType);
    while (rs && rs->next()) {
        BaseItemEntity item;
        item.index = rs->intForColumnIndex(0);
        item.key = rs->stringForColumnIndex(1).value_or(std::string());
        item.name = rs->stringForColumnIndex(2).value_or(std::string());
        item.memo = strformat("共%d题", rs->intForColumnIndex(3));
        item.selected = false;
        list.push_back(std::move(item));
    }
    return list;
}

std::string CourseUtil::buildNewPaperName(int courseId) {
    DatabaseScope scope(*this);
    const std::string base = strformat("%d%@全真模拟试题", DateTime::nowLocal().year,
                                       getCourseName(courseId).value_or(std::string()));
    // The course name is bound, not spliced: it comes from the service.
    int k = ExecuteScalarInt(
        "select count(*) from simulationpaper where icourseid=? and cpapername like ?", courseId,
        base + "%");
    std::string name;
    do {
        ++k;
        name = strformat("%@%d", base, k);
    } while (ExecuteScalar("select 0 from simulationpaper where icourseid=? and cpapername=?",
                           courseId, name)
                 .has_value());
    return name;
}

std::string CourseUtil::getSubjectTypesOfPaper(int courseId) {
    DatabaseScope scope(*this);
    if (!ExistsCol("course", "ctypscount")) return std::string();
    return ExecuteScalarString("select ctypscount from course where icourseid=?", courseId)
        .value_or(std::string());
}

std::vector<PaperSubjectIdListEntity> CourseUtil::loadSubjectIdListForBuildPaper(
    int courseId, const std::string& filter) {
    std::vector<PaperSubjectIdListEntity> list;
    DatabaseScope scope(*this);
    auto rs = ExecuteDataReader(
        strformat("select a.isubjecttype,a.isubjectid from coursesubject a,coursechapter b where "
                  "a.icourseid=%d%@ and a.ichapterid=b.ichapterid and b.bstopflag=0 and "
                  "a.bstopflag=0 group by a.isubjecttype, a.iindex, a.isubjectid",
                  courseId, andFilter(filter)),
        std::vector<Value>{});
    while (rs && rs->next()) {
        PaperSubjectIdListEntity candidate;
        candidate.subjecttype = rs->intForColumnIndex(0);
        candidate.subjectid = rs->intForColumnIndex(1);
        list.push_back(candidate);
    }
    return list;
}

std::map<std::string, int> CourseUtil::loadSubjectScoreSettings() {
    std::map<std::string, int> points;
    DatabaseScope scope(*this);
    auto rs = ExecuteDataReader(
        "select cname,cvalue from sys_cussetting where cname like 'isubjectscore%'",
        std::vector<Value>{});
    while (rs && rs->next()) {
        points[rs->stringForColumnIndex(0).value_or("")] =
            paperTextInt(rs->stringForColumnIndex(1).value_or(""));
    }
    return points;
}

std::vector<PaperSubjectCountEntity> CourseUtil::countsWithSettingPoints(
    const std::vector<std::pair<int, int>>& available) {
    const std::map<std::string, int> settings = loadSubjectScoreSettings();
    std::vector<PaperSubjectCountEntity> list;
    for (const auto& [type, count] : available) {
        PaperSubjectCountEntity entity;
        entity.subjecttype = type;
        entity.totalcount = count;
        const auto setting = settings.find(strformat("isubjectscore%d", type));
        const int points = setting == settings.end() ? 0 : setting->second;
        entity.score = points != 0 ? points : fallbackPoints(type);
        list.push_back(entity);
    }
    return list;
}

std::vector<PaperSubjectCountEntity> CourseUtil::calcSubjectCountForBeforeBuildPaper(
    int courseId, int totalScore, const std::string& filter) {
    std::vector<std::pair<int, int>> available;
    {
        DatabaseScope scope(*this);
        auto rs = ExecuteDataReader(
            strformat("select a.isubjecttype,count(*) as itotalcount from coursesubject "
                      "a,coursechapter b where a.icourseid=%d%@ and a.ichapterid=b.ichapterid and "
                      "b.bstopflag=0 and a.bstopflag=0 group by a.isubjecttype order by "
                      "a.isubjecttype",
                      courseId, andFilter(filter)),
            std::vector<Value>{});
        while (rs && rs->next())
            available.emplace_back(rs->intForColumnIndex(0), rs->intForColumnIndex(1));
    }
    return calcSubjectCountForBeforeBuildPaper(totalScore, countsWithSettingPoints(available));
}

std::vector<PaperSubjectCountEntity> CourseUtil::bankSubjectCounts(
    const std::vector<PaperSubjectIdListEntity>& candidates) {
    // Candidates come in type order, so each type is one run.
    std::vector<std::pair<int, int>> available;
    for (const PaperSubjectIdListEntity& candidate : candidates) {
        if (available.empty() || available.back().first != candidate.subjecttype) {
            available.emplace_back(candidate.subjecttype, 0);
        }
        ++available.back().second;
    }
    return countsWithSettingPoints(available);
}

std::vector<PaperSubjectCountEntity> CourseUtil::layoutSubjectCounts(
    const std::string& typesScore, const std::string& typesCount) {
    const std::vector<std::string> scores = split(typesScore, ",");
    const std::vector<std::string> counts = split(typesCount, ",");
    std::vector<PaperSubjectCountEntity> list;
    if (scores.size() < 6) return list;
    for (std::size_t i = 0; i < scores.size(); ++i) {
        const int type = static_cast<int>(i);
        const int asked = i < counts.size() ? paperTextInt(counts[i]) : 0;
        // A count that asks for nothing (empty, 0 or negative) leaves the type out.
        if (asked < 1) continue;
        double points = paperTextFloat(scores[i]);
        // The setting's own points count here, fractions included ("1.5", "0.5").
        if (points <= 0) {
            points = paperTextFloat(
                ExecuteScalarString("select cvalue from sys_cussetting where cname=?",
                                    strformat("isubjectscore%d", type))
                    .value_or(std::string()));
        }
        if (points == 0) points = fallbackPoints(type);
        PaperSubjectCountEntity entity;
        entity.subjecttype = type;
        entity.totalcount = asked;
        entity.score = points;
        list.push_back(entity);
    }
    return list;
}

std::vector<PaperSubjectCountEntity> CourseUtil::calcSubjectCountForBeforeBuildPaper(
    int courseId, int totalScore, const std::string& typesScore, const std::string& typesCount,
    const std::string& filter) {
    std::vector<PaperSubjectCountEntity> list = layoutSubjectCounts(typesScore, typesCount);
    if (list.empty()) return calcSubjectCountForBeforeBuildPaper(courseId, totalScore, filter);
    return calcSubjectCountForBeforeBuildPaper(totalScore, std::move(list));
}

std::vector<PaperSubjectCountEntity> CourseUtil::calcSubjectCountForBeforeBuildPaper(
    int totalScore, std::vector<PaperSubjectCountEntity> list) {
    if (list.empty()) return list;
    // A total below 1 would give negative or no counts: no paper can be built for it.
    if (totalScore < 1)
        throw ExamError("创建试卷失败", strformat("无法构建试卷达到%d分!", totalScore));
    // Points count by their whole part. Sums are 64-bit so that large asked counts cannot wrap.
    auto whole = [](const PaperSubjectCountEntity& e) {
        return e.score >= 1 ? static_cast<std::int64_t>(std::min(e.score, 1e9)) : std::int64_t{0};
    };
    const std::int64_t total = totalScore;
    std::int64_t sum = 0;
    for (const auto& e : list)
        sum += static_cast<std::int64_t>(std::max(e.totalcount, 0)) * whole(e);
    if (sum <= total) {
        for (auto& e : list)
            e.count = std::max(e.totalcount, 0);
        return list;
    }
    const std::int64_t share = total / static_cast<std::int64_t>(list.size());
    std::int64_t acc = 0;
    for (auto& e : list) {
        const std::int64_t points = whole(e);
        e.count = points == 0 ? 0
                              : static_cast<int>(std::min<std::int64_t>(std::max(e.totalcount, 0),
                                                                        share / points));
        acc += e.count * points;
    }
    for (auto it = list.begin(); it != list.end() && acc < total; ++it) {
        const std::int64_t points = whole(*it);
        if (points == 0) continue;
        const std::int64_t extra =
            std::min<std::int64_t>(std::max(it->totalcount, 0) - it->count, (total - acc) / points);
        it->count += static_cast<int>(extra);
        acc += extra * points;
    }
    if (acc != total)
        throw ExamError("创建试卷失败", strformat("无法构建试卷达到%d分!", totalScore));
    return list;
}

int CourseUtil::buildNewPaper(int courseId, int totalTime, const std::string& paperName,
                              float totalScore,
                              const std::vector<PaperSubjectIdListEntity>& subjects) {
    if (!BeginTran()) return 0;
    bool stored = ExecuteNonQuery(
        "insert into simulationpaper(icourseid,cpapername,itotaltime,itotalscore,iscore,iexam,"
        "ifromchapter,isubjectcount,itype0count,itype1count,itype2count,itype3count,dcreatedate) "
        "values (?,?,?,?,0,0,0,?,0,0,0,0,datetime('now','localtime'))",
        courseId, paperName, totalTime, static_cast<double>(totalScore),
        static_cast<int>(subjects.size()));
    const int paperId =
        stored ? ExecuteScalarInt("select last_insert_rowid()", std::vector<Value>{}) : 0;
    stored = paperId != 0;
    int position = 0;
    for (auto it = subjects.begin(); stored && it != subjects.end(); ++it) {
        stored = ExecuteNonQuery(
            "insert into simulationpaperdetail(ipaperid,iindex,isubjectid,cmyanswer,bcorrect, "
            "iscore) values (?,?,?,'',0,?)",
            paperId, ++position, it->subjectid, it->score);
    }
    // A paper missing some of its subjects is worse than none: all rows or nothing.
    if (!stored) {
        RollbackTran();
        return 0;
    }
    return CommitTran() ? paperId : 0;
}

}  // namespace examora
