// CourseUtil: the wrong-answer drill and the Ebbinghaus review lists.

#include <array>
#include <cmath>

#include "engine/course_util.h"
#include "platform/strformat.h"
#include "store/database_scope.h"

namespace examora {

namespace {

constexpr int kFilterCut = 2;
constexpr int kEbbinghausPeriods = 8;

// Whole calendar days between today and the day of the last answer, by SQLite's local clock.
constexpr const char* kDaysAgo =
    "julianday(strftime('%Y-%m-%d',datetime('now','localtime')))-julianday(strftime('%Y-%m-%d',"
    "danswerdate))";

BaseItemEntity countItem(const char* key, const char* name, int count) {
    BaseItemEntity item;
    item.key = key;
    item.name = name;
    item.memo = strformat("共 %d 题", count);
    item.index = count;
    return item;
}

// The review bounds of period p are (bounds[p + 1], bounds[p]]: bounds[0] is 5 minutes ago, the
// last one (no lower bound) the empty text, below every stored date. All are read in one
// statement, so they share one instant of SQLite's clock.
std::array<std::string, kEbbinghausPeriods + 1> ebbinghausBounds(SQLiteHelper& db) {
    std::array<std::string, kEbbinghausPeriods + 1> bounds;
    auto rs = db.ExecuteDataReader(
        "select datetime('now','localtime','-5 minutes'),datetime('now','localtime','-30 "
        "minutes'),datetime('now','localtime','-12 hours'),datetime('now','localtime','-1 "
        "day'),datetime('now','localtime','-2 days'),datetime('now','localtime','-4 "
        "days'),datetime('now','localtime','-7 days'),datetime('now','localtime','-15 days')",
        std::vector<Value>{});
    if (rs && rs->next()) {
        for (int p = 0; p < kEbbinghausPeriods; ++p)
            bounds[static_cast<std::size_t>(p)] = rs->stringForColumnIndex(p).value_or("");
    }
    return bounds;
}

}  // namespace

std::vector<BaseItemEntity> CourseUtil::loadErrSubjectListOfCount(int courseId, int errFilterType) {
    std::array<int, 3> counts{};
    {
        DatabaseScope scope(*this);
        auto rs = ExecuteDataReader(
            strformat("select iwrong,count(*) icount from coursesubject where icourseid=%d and "
                      "iwrong%@0 group by iwrong",
                      courseId, errFilterType == kFilterCut ? "<" : ">"),
            std::vector<Value>{});
        while (rs && rs->next()) {
            const long long magnitude = std::llabs(rs->longLongIntForColumnIndex(0));
            counts[magnitude >= 3 ? 2 : static_cast<std::size_t>(magnitude - 1)] +=
                rs->intForColumnIndex(1);
        }
    }
    return {countItem("1", "1次", counts[0]), countItem("2", "2次", counts[1]),
            countItem("3", "2次以上", counts[2])};
}

std::vector<BaseItemEntity> CourseUtil::loadErrSubjectListOfPeriod(int courseId,
                                                                   int errFilterType) {
    std::array<int, 4> counts{};
    {
        DatabaseScope scope(*this);
        auto rs = ExecuteDataReader(
            strformat("select julianday(strftime('%%Y-%%m-%%d',datetime('now','localtime')))-"
                      "julianday(strftime('%%Y-%%m-%%d',danswerdate)) idays,count(*) icount from "
                      "coursesubject where icourseid=%d and iwrong%@0 group by "
                      "julianday(strftime('%%Y-%%m-%%d',datetime('now','localtime')))-"
                      "julianday(strftime('%%Y-%%m-%%d',danswerdate))",
                      courseId, errFilterType == kFilterCut ? "<" : ">"),
            std::vector<Value>{});
        while (rs && rs->next()) {
            // A subject without an answer date matches no period's condition, so it is counted
            // in none; otherwise the counts would promise subjects the period cannot open.
            if (rs->columnIndexIsNull(0)) continue;
            const long long days = std::llround(rs->doubleForColumnIndex(0));
            const std::size_t period = days < 1 ? 0 : days <= 2 ? 1 : days <= 6 ? 2 : 3;
            counts[period] += rs->intForColumnIndex(1);
        }
    }
    return {countItem("1", "当天", counts[0]), countItem("2", "3天内", counts[1]),
            countItem("3", "一周内", counts[2]), countItem("4", "更早", counts[3])};
}

SubjectFilter CourseUtil::builderFilterSqlOfErrSubjectCount(int courseId, int errFilterType,
                                                            int countKey) {
    const bool cut = errFilterType == kFilterCut;
    std::string sql = strformat("a.icourseid=%d", courseId) + " and iwrong";
    if (countKey == 1 || countKey == 2) {
        sql += strformat("=%@%d", cut ? "-" : "", countKey);
    } else if (countKey >= 3) {
        sql += cut ? "<=-3" : ">=3";
    }
    return SubjectFilter(std::move(sql));
}

SubjectFilter CourseUtil::builderFilterSqlOfErrSubjectPeroid(int courseId, int errFilterType,
                                                             int period) {
    static constexpr std::array<const char*, 4> kComparisons = {"=0", " between 1 and 2",
                                                                " between 3 and 6", ">=7"};
    const std::size_t p = period <= 0 ? 0 : period >= 3 ? 3 : static_cast<std::size_t>(period);
    return SubjectFilter(strformat("a.icourseid=%d", courseId) +
                         (errFilterType == kFilterCut ? " and iwrong<0" : " and iwrong>0") +
                         " and " + kDaysAgo + kComparisons[p]);
}

std::vector<BaseItemEntity> CourseUtil::loadEbbinghausList(int courseId) {
    std::vector<BaseItemEntity> list;
    DatabaseScope scope(*this);
    const auto bounds = ebbinghausBounds(*this);
    for (int p = 0; p < kEbbinghausPeriods; ++p) {
        const std::size_t i = static_cast<std::size_t>(p);
        const int count = ExecuteScalarInt(
            "select count(*) icount from coursesubject where icourseid=? and iwrong>0 and "
            "danswerdate>? and danswerdate<=?",
            courseId, bounds[i + 1], bounds[i]);
        BaseItemEntity item;
        item.index = p;
        item.key = std::to_string(count);
        item.name = std::to_string(p);
        item.memo = strformat("共%d题", count);
        list.push_back(std::move(item));
    }
    return list;
}

SubjectFilter CourseUtil::buildEbbinghausSubjectListFilterSql(int /*courseId*/, int period) {
    std::string start;
    std::string end;
    if (period >= 0 && period < kEbbinghausPeriods) {
        DatabaseScope scope(*this);
        const auto bounds = ebbinghausBounds(*this);
        start = bounds[static_cast<std::size_t>(period) + 1];
        end = bounds[static_cast<std::size_t>(period)];
    }
    return SubjectFilter(
        strformat("a.iwrong>0 and a.danswerdate>'%@' and a.danswerdate<='%@'", start, end));
}

}  // namespace examora
