// A course authored as a spreadsheet: imported into the reference service, synchronised into a
// client, and practised there.
#include <gtest/gtest.h>

#include "engine/course_subject_util.h"
#include "integration/served_course_fixture.h"
#include "server/csv_course_import.h"
#include "support/temp_home.h"

namespace examora {
namespace {

class CsvCourseTest : public ServedCourseTest {
  protected:
    CsvImportReport import(const std::string& text) {
        const std::string folder = home_.makeDirectory("sheet");
        TempHome::writeFile(folder + "/pics/star.png", "star-bytes");
        TempHome::writeFile(folder + "/why.gif", "why-bytes");
        TempHome::writeFile(folder + "/题库.csv", text);
        CsvImportOptions o;
        o.file = folder + "/题库.csv";
        o.course = "我的题库";
        return CsvCourseImport(service.store()).run(o);
    }
    CourseSubjectEntity subjectTitled(int courseId, const std::string& title) {
        for (CourseSubjectEntity& s : subjectsOf(courseId))
            if (s.title.rfind(title, 0) == 0) return s;
        ADD_FAILURE() << "no question " << title;
        return {};
    }
};

// As a spreadsheet program saves it: byte order mark, CR LF, quoted cells with commas, quotes
// and line breaks.
const std::string kSheet =
    "\xEF\xBB\xBF"
    "章节,题型,题目,A,B,C,D,E,F,G,答案,分值,解析,题目图片,解析图片\r\n"
    "第一章/第一节,单选题,\"CPU 的全称, 即\"\"中央处理器\"\"?\",运算器,控制器,\"中央处理器, "
    "CPU\",内存,,,,c,,\"第一行\r\n第二行\",pics/star.png,why.gif\r\n"
    "第一章/第一节,多选题,哪些是输入设备,键盘,鼠标,显示器,扫描仪,,,,\"d, a，b\",4,,,\r\n"
    "第一章/第二节,判断题,硬盘属于外存,,,,,,,,√,,,,\r\n"
    "第二章,案例题,说出域名解析的要点,,,,,,,,\"DNS， 缓存\",,,,\r\n"
    "第二章,1,\"看图{图}\r\n选出\",甲,乙,丙,,,,,AC,,,pics/star.png,\r\n";

TEST_F(CsvCourseTest, ImportedQuestionsAreJudgedAsTheSpreadsheetSays) {
    CsvImportReport report = import(kSheet);
    ASSERT_TRUE(report.written) << report.error;
    EXPECT_EQ(report.imported, 5u);
    for (const ContentItemSetReport& r : syncCourse(report.courseId))
        EXPECT_TRUE(r.dateStored);
    ASSERT_EQ(subjectsOf(report.courseId).size(), 5u);

    struct Case {
        const char* title;
        const char* learner;  // as the question page sends it
        bool right;
        double points;
    };
    const Case cases[] = {
        {"CPU 的全称, 即\"中央处理器\"?", "C", true, 1},
        {"CPU 的全称", "A", false, 0},
        {"哪些是输入设备", "ABD", true, 4},
        {"哪些是输入设备", "AB", false, 1},  // partly right: 0.5 per option
        {"硬盘属于外存", "对", true, 1},
        {"硬盘属于外存", "错", false, 0},
        {"说出域名解析的要点", "先查缓存，再问 DNS 服务器", true, 10},
        {"说出域名解析的要点", "问 DNS", false, 0},
        {"看图", "AC", true, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.title) + " " + c.learner);
        CourseSubjectEntity s = subjectTitled(report.courseId, c.title);
        EXPECT_EQ(unanswerableBecause(s), "");
        s.myanswer = c.learner;
        EXPECT_EQ(CourseSubjectUtil::checkAnswerIsCorrect(s), c.right);
        EXPECT_DOUBLE_EQ(s.myscore, c.points);
    }
}

TEST_F(CsvCourseTest, PicturesChaptersAndTextsArriveWhole) {
    CsvImportReport report = import(kSheet);
    ASSERT_TRUE(report.written) << report.error;
    syncCourse(report.courseId);
    const std::string dir = pictureFolder(report.courseId);
    CourseSubjectEntity first = subjectTitled(report.courseId, "CPU");
    const std::string id = std::to_string(first.subjectid);
    EXPECT_EQ(TempHome::readFile(dir + id + "_0.png"), "star-bytes");
    EXPECT_EQ(TempHome::readFile(dir + id + "_1.gif"), "why-bytes");
    EXPECT_EQ(first.title, "CPU 的全称, 即\"中央处理器\"?<img border='0' alt='' src='file://" +
                               dir + id + "_0.png'/>");
    EXPECT_EQ(first.description,
              "第一行\n第二行<img border='0' alt='' src='file://" + dir + id + "_1.gif'/>");
    EXPECT_EQ(first.question, "A.运算器 B.控制器 C.中央处理器, CPU D.内存");
    CourseSubjectEntity seen = subjectTitled(report.courseId, "看图");
    EXPECT_EQ(seen.title, "看图<img border='0' alt='' src='file://" + dir +
                              std::to_string(seen.subjectid) + "_0.png'/>\n选出");

    EXPECT_EQ(count("coursechapter", "itype=0 and igrade=0"), 2);
    EXPECT_EQ(count("coursechapter", "itype=0 and igrade=1 and bendgrade=1"), 2);
    EXPECT_EQ(
        sql().ExecuteScalarInt("select icount from coursechapter where cchaptername='第一节'"), 2);
}

TEST_F(CsvCourseTest, AChangedSheetReachesTheClientAtItsNextSync) {
    CsvImportReport first = import(kSheet);
    ASSERT_TRUE(first.written);
    syncCourse(first.courseId);
    const int judged = subjectTitled(first.courseId, "硬盘属于外存").subjectid;

    std::string edited = kSheet;
    edited.replace(edited.find("√"), std::string("√").size(), "错误");
    ASSERT_TRUE(import(edited).written);
    const std::vector<ContentItemSetReport> reports = syncCourse(first.courseId);
    EXPECT_EQ(reports[2].written, 1u);
    CourseSubjectEntity s = subjectTitled(first.courseId, "硬盘属于外存");
    EXPECT_EQ(s.subjectid, judged);
    s.myanswer = "错";
    EXPECT_TRUE(CourseSubjectUtil::checkAnswerIsCorrect(s));
}

}  // namespace
}  // namespace examora
