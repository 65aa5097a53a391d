// Importing a question file into the service's store: all or nothing, re-import, large files.
#include <gtest/gtest.h>

#include "server/csv_course_import.h"
#include "server/service_store.h"
#include "store/sqlite_connection.h"
#include "support/temp_home.h"

namespace examora {
namespace {

const std::string kHeader = "章节,题型,题目,A,B,C,D,E,F,G,答案,分值,解析,题目图片,解析图片\n";

class CsvCourseImportTest : public TempHomeTest {
  protected:
    CsvCourseImportTest() : store(home_.makeDirectory("service")) {}

    CsvImportReport import(const std::string& text, bool skipBad = false,
                           const std::string& className = "") {
        const std::string file = home_.path() + "/q.csv";
        TempHome::writeFile(file, text);
        CsvImportOptions o;
        o.file = file;
        o.course = "自编";
        o.className = className;
        o.skipBad = skipBad;
        return CsvCourseImport(store).run(o);
    }
    DictList rows(const std::string& sql) {
        DictList out;
        store.read([&](SqliteConnection& db) { out = ServiceStore::rows(db, sql); });
        return out;
    }
    int number(const std::string& sql) {
        DictList r = rows(sql);
        return r.empty() ? -1 : r[0].begin()->second.asInt();
    }

    ServiceStore store;
};

TEST_F(CsvCourseImportTest, ABadRowWritesNothingUnlessToldToSkipIt) {
    const std::string text = kHeader +
                             "一,单选题,题一,甲,乙,,,,,,B\n"
                             "一,单选题,题二,甲,乙,,,,,,E\n"
                             "一,判断题,题三,,,,,,,,对\n";
    CsvImportReport refused = import(text);
    EXPECT_FALSE(refused.written);
    ASSERT_EQ(refused.bad.size(), 1u);
    EXPECT_EQ(refused.bad[0].line, 3);
    EXPECT_EQ(number("select count(*) from course"), 0);
    EXPECT_EQ(number("select count(*) from coursesubject"), -1);  // not even the tables

    CsvImportReport skipped = import(text, true);
    EXPECT_TRUE(skipped.written);
    EXPECT_EQ(skipped.imported, 2u);
    EXPECT_EQ(skipped.bad.size(), 1u);
    EXPECT_EQ(number("select count(*) from coursesubject where bstopflag=0"), 2);
    EXPECT_EQ(rows("select ccoursename from course")[0].get("ccoursename").asString(), "自编");
}

TEST_F(CsvCourseImportTest, ImportAgainKeepsIdsAndStopsWhatTheFileNoLongerHolds) {
    CsvImportReport first = import(kHeader +
                                   "一/甲,单选题,题一,甲,乙,,,,,,B\n"
                                   "一/甲,判断题,题二,,,,,,,,对\n"
                                   "二,填空题,题三,,,,,,,,空\n");
    ASSERT_TRUE(first.written) << first.error;
    const DictList before = rows("select isubjectid,ctitle from coursesubject order by isubjectid");
    EXPECT_EQ(import(kHeader + "一/甲,单选题,题一,甲,乙,,,,,,B\n"
                               "一/甲,判断题,题二,,,,,,,,对\n"
                               "二,填空题,题三,,,,,,,,空\n")
                  .changed,
              0);

    // 题一's answer changes, 题二 goes, 题四 comes in a new section, chapter 二 goes.
    CsvImportReport second = import(kHeader +
                                    "一/甲,单选题,题一,甲,乙,,,,,,A\n"
                                    "一/乙,判断题,题四,,,,,,,,错\n");
    ASSERT_TRUE(second.written) << second.error;
    EXPECT_EQ(second.courseId, first.courseId);
    const int q1 = before[0].get("isubjectid").asInt();
    EXPECT_EQ(number("select count(*) from coursesubject where isubjectid=" + std::to_string(q1) +
                     " and canswer='A' and bstopflag=0"),
              1);
    EXPECT_EQ(number("select count(*) from coursesubject where ctitle in ('题二','题三') and "
                     "bstopflag=1"),
              2);
    EXPECT_EQ(number("select count(*) from coursesubject where ctitle='题四' and bstopflag=0"), 1);
    EXPECT_EQ(number("select count(*) from coursechapter where cchaptername='二' and bstopflag=1"),
              1);
    // The new section follows the existing one; the stopped chapter keeps its code.
    EXPECT_EQ(rows("select cchaptercode from coursechapter where cchaptername='乙'")[0]
                  .get("cchaptercode")
                  .asString(),
              "0102");
    EXPECT_EQ(number("select count(distinct cchaptercode) from coursechapter"),
              number("select count(*) from coursechapter"));
}

TEST_F(CsvCourseImportTest, TheCourseGoesUnderItsNamedClassAndKeepsIt) {
    ASSERT_TRUE(import(kHeader + "一,判断题,题,,,,,,,,对\n").written);
    EXPECT_EQ(rows("select ccoursecname from courseclass")[0].get("ccoursecname").asString(),
              CsvCourseImport::kDefaultClass);
    ASSERT_TRUE(import(kHeader + "一,判断题,题,,,,,,,,对\n", false, "信息技术").written);
    ASSERT_TRUE(import(kHeader + "一,判断题,题,,,,,,,,错\n").written);
    EXPECT_EQ(number("select count(*) from course c join courseclass k on k.iclassid=c.iclassid "
                     "join coursesubclass s on s.isubclassid=c.isubclassid where "
                     "k.ccoursecname='信息技术' and s.csubclassname='信息技术'"),
              1);
}

TEST_F(CsvCourseImportTest, TenThousandRowsImport) {
    std::string text = kHeader;
    const char* rowsOfType[] = {
        ",单选题,题%d,甲,乙,丙,丁,,,,C,,解析\n",   ",多选题,题%d,甲,乙,丙,丁,,,,ABD,,解析\n",
        ",判断题,题%d,,,,,,,,对,,解析\n",          ",填空题,题%d,,,,,,,,答%d,,解析\n",
        ",案例题,题%d,,,,,,,,\"甲,乙\",10,解析\n",
    };
    for (int i = 0; i < 10000; ++i) {
        char line[160];
        std::snprintf(line, sizeof line, rowsOfType[i % 5], i, i);
        text += "第" + std::to_string(i / 1000 + 1) + "章/第" + std::to_string(i / 100 % 10 + 1) +
                "节" + line;
    }
    CsvImportReport report = import(text);
    ASSERT_TRUE(report.written) << report.error << (report.bad.empty() ? "" : report.bad[0].reason);
    EXPECT_EQ(report.imported, 10000u);
    EXPECT_EQ(number("select count(*) from coursesubject"), 10000);
    EXPECT_EQ(number("select count(*) from coursechapter where bendgrade=1"), 100);
    EXPECT_EQ(number("select sum(icount) from coursechapter"), 10000);
}

}  // namespace
}  // namespace examora
