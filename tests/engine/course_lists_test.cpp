#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/course_util.h"
#include "list_fields.h"
#include "platform/log.h"
#include "platform/strformat.h"
#include "support/course_builder.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

// Subjects, answered, right, points in all and points earned.
std::string tally(const FinishCountResult& r) {
    return strformat("%d %d %d %@ %@", r.itotalcount, r.finishcount, r.correctcount, r.totalscore,
                     r.myscore);
}

// Course 1, whose chapters each test builds.
class ChapterListTest : public StoreTest {
  protected:
    ChapterListTest() { b.course(1); }
    std::vector<std::string> codes(const std::vector<CourseChapterEntity>& list) {
        std::vector<std::string> out;
        for (const auto& c : list)
            out.push_back(std::to_string(c.type) + ":" + c.chaptercode);
        return out;
    }
    std::string memoOf(const std::vector<CourseChapterEntity>& list, int chapterId) {
        for (const auto& c : list)
            if (c.chapterid == chapterId) return c.memo;
        return "(absent)";
    }
    void setCount(int chapterId, int count) {
        sql().ExecuteNonQuery("update coursechapter set icount=? where ichapterid=?", count,
                              chapterId);
    }

    CourseBuilder b;
    CourseUtil util;
};

TEST_F(ChapterListTest, TopLevelOfMixedTreesShowsEachTreesSmallestGradeAndGradeZero) {
    // Type 0 starts at grade 2, type 1 at grade 1; a withdrawn type-0 chapter sits at grade 0.
    b.chapters(1, 0, {"AAAA01", "AAAA0101", "AAAA02"});
    b.chapters(1, 1, {"BB02", "BB01", "BB0101"});
    const int withdrawn = b.chapters(1, 0, {"00"})[0];
    sql().ExecuteNonQuery("update coursechapter set bstopflag=1 where ichapterid=?", withdrawn);
    b.course(2);
    b.chapters(2, 0, {"01"});

    EXPECT_EQ(codes(util.loadCourseChapterList(1, 0, false, "")),
              (std::vector<std::string>{"0:00", "0:AAAA01", "0:AAAA02", "1:BB01", "1:BB02"}));
    // A caller's condition narrows the top level further.
    EXPECT_EQ(codes(util.loadCourseChapterList(1, 0, false, "cchaptercode<>'BB01'")),
              (std::vector<std::string>{"0:00", "0:AAAA01", "0:AAAA02", "1:BB02"}));
}

TEST_F(ChapterListTest, LevelsBelowFollowTheParentsCodeAndType) {
    const auto t0 = b.chapters(1, 0, {"01", "0101", "010101", "0102", "02"});
    b.chapters(1, 1, {"01", "0101"});

    EXPECT_EQ(codes(util.loadCourseChapterList(1, t0[0], false, "")),
              (std::vector<std::string>{"0:0101", "0:0102"}));
    EXPECT_EQ(codes(util.loadCourseChapterList(1, t0[1], false, "")),
              (std::vector<std::string>{"0:010101"}));
    EXPECT_TRUE(util.loadCourseChapterList(1, 999, true, "").empty());
    EXPECT_TRUE(util.loadCourseChapterList(7, 0, true, "").empty());
}

TEST_F(ChapterListTest, ProgressOfLeavesAndSubtrees) {
    // 01 ─ 0101 (leaf) and 0102 (leaf); 02 leaf with nothing answered; 03 not downloaded.
    const auto ch = b.chapters(1, 0, {"01", "0101", "0102", "02", "03"});
    // Same codes in the other tree must not leak into type 0's sums.
    const auto other = b.chapters(1, 1, {"01", "0101"});
    b.subjects(2, {.chapterId = ch[1], .myanswer = "A", .correct = true});
    b.subjects(1, {.chapterId = ch[1], .myanswer = "B"});
    b.subjects(1, {.chapterId = ch[1]});
    b.subjects(1, {.chapterId = ch[2], .myanswer = "A", .correct = true});
    b.subjects(1, {.chapterId = ch[2], .stopflag = true, .myanswer = "B"});
    b.subjects(3, {.chapterId = ch[3]});
    b.subjects(5, {.chapterId = other[1], .myanswer = "A", .correct = true});
    setCount(ch[3], 3);
    setCount(ch[4], 12);

    const auto top = util.loadCourseChapterList(1, 0, true, "");
    EXPECT_EQ(memoOf(top, ch[0]), "已做 4 题,共 5 题,正确率 75%");
    EXPECT_EQ(memoOf(top, ch[3]), "已做 0 题,共 3 题,正确率 0%");
    EXPECT_EQ(memoOf(top, ch[4]), "已做 0 题,共 12 题,正确率 0%");
    EXPECT_EQ(memoOf(top, other[0]), "已做 5 题,共 5 题,正确率 100%");

    const auto below = util.loadCourseChapterList(1, ch[0], true, "");
    EXPECT_EQ(memoOf(below, ch[1]), "已做 3 题,共 4 题,正确率 66%");
    EXPECT_EQ(memoOf(below, ch[2]), "已做 1 题,共 1 题,正确率 100%");

    const auto plain = util.loadCourseChapterList(1, 0, false, "");
    EXPECT_EQ(memoOf(plain, ch[4]), "共12题");
    EXPECT_EQ(plain.front().count, 0);
}

TEST_F(ChapterListTest, SubjectListsKeepPracticeOrderAndSkipWithdrawnSubjects) {
    const auto ch = b.chapters(1, 0, {"01", "02"});
    const int s1 = b.subject({.chapterId = ch[0], .type = 1, .index = 1});
    const int s2 = b.subject({.chapterId = ch[0], .type = 0, .index = 2});
    const int s3 = b.subject({.chapterId = ch[1], .type = 0, .index = 1});
    const int s4 = b.subject({.chapterId = ch[1], .type = 0, .index = 1});
    b.subject({.chapterId = ch[1], .type = 0, .index = 0, .stopflag = true});
    b.subject({.courseId = 2, .chapterId = ch[1]});

    EXPECT_EQ(util.loadSubjectIdList(1, 0, 0, SubjectFilter()), (std::vector<int>{s3, s4, s2, s1}));
    EXPECT_EQ(util.loadSubjectIdList(1, ch[0], 0, SubjectFilter()), (std::vector<int>{s2, s1}));

    sql().ExecuteNonQuery("update coursesubject set cmyanswer='C',imyscore=1 where isubjectid=?",
                          s4);
    const auto sheet = util.loadSubjectExamEntityList(1, ch[1], 0, SubjectFilter());
    ASSERT_EQ(sheet.size(), 2u);
    EXPECT_EQ(sheet[1].subjectid, s4);
    EXPECT_EQ(sheet[1].index, 2);
    EXPECT_EQ(sheet[1].myanswer, "C");

    const int paper = b.paper(1, {s2, s1}, 0, {"B", ""});
    const auto paperSheet = util.loadSubjectExamEntityListFromPaper(paper, SubjectFilter());
    ASSERT_EQ(paperSheet.size(), 2u);
    EXPECT_EQ(paperSheet[0].subjectid, s2);
    EXPECT_EQ(paperSheet[0].myanswer, "B");
    EXPECT_EQ(paperSheet[1].index, 2);
}

TEST_F(ChapterListTest, OneSubjectIsDecipheredAndTakesItsTypesDefaultPoints) {
    const int chapter = b.chapters(1, 0, {"01"})[0];
    const int scored = b.subject({.chapterId = chapter, .score = 3, .title = "标题一"});
    const int unscored = b.subject({.chapterId = chapter, .type = 1, .score = 0});
    const int absent = b.subject({.chapterId = chapter, .type = 2, .score = std::nullopt});
    sql().ExecuteNonQuery("insert into sys_cussetting(cname,cvalue) values ('isubjectscore1','2')");

    const auto s = util.loadSubjuectInfo(scored);
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->title, "标题一");
    EXPECT_EQ(s->description, NewSubject{}.description);
    EXPECT_EQ(s->score, 3.0);
    EXPECT_EQ(util.loadSubjuectInfo(unscored)->score, 2.0);
    EXPECT_EQ(util.loadSubjuectInfo(absent)->score, 0.0);
    EXPECT_FALSE(util.loadSubjuectInfo(9999).has_value());

    const int paper = b.paper(1, {unscored, scored}, 0, {"AB", "A"});
    const auto inPaper = util.loadSubjuectInfoOfPaper(paper, scored);
    ASSERT_TRUE(inPaper.has_value());
    EXPECT_EQ(inPaper->myanswer, "A");
    EXPECT_EQ(inPaper->index, 2);
    EXPECT_EQ(inPaper->title, "标题一");
    EXPECT_FALSE(util.loadSubjuectInfoOfPaper(paper, absent).has_value());
}

TEST_F(ChapterListTest, ChapterResultSumsPointsOfSubjectsNotWithdrawn) {
    const int chapter = b.chapters(1, 0, {"01"})[0];
    b.subject({.chapterId = chapter, .score = 2, .myanswer = "A", .correct = true, .myscore = 2});
    b.subject({.chapterId = chapter, .score = 3, .myanswer = "B", .myscore = 1});
    b.subject({.chapterId = chapter, .score = 5});
    b.subject({.chapterId = chapter, .score = 7, .stopflag = true, .myanswer = "A"});

    EXPECT_EQ(tally(util.loadSubjectSumitResultForTest(chapter)), "3 2 1 10 3");
    EXPECT_EQ(tally(util.loadSubjectSumitResultForTest(999)), "0 0 0 0 0");
}

std::vector<std::string> names(const std::vector<BaseItemEntity>& items) {
    return fields(items, &BaseItemEntity::name);
}

// Three classes (the second withdrawn), sub-classes and courses, some withdrawn.
class CourseCatalogueTest : public StoreTest {
  protected:
    CourseCatalogueTest() {
        sql().ExecuteNonQuery(
            "insert into courseclass(iclassid,ccoursecname,iindex,bstopflag) values "
            "(1,'财会类',2,0),(2,'建筑类',1,1),(3,'医药类',3,0)");
        sql().ExecuteNonQuery(
            "insert into coursesubclass(isubclassid,iclassid,csubclassname,iindex,bstopflag) "
            "values (11,1,'初级',2,0),(12,1,'中级',1,0),(13,1,'高级',3,1)");
        addCourses(
            "(101,1,11,'会计基础',2,0),(102,1,11,'经济法',1,0),(103,1,12,'财务管理',1,0),"
            "(104,1,11,'会计电算化',3,1),(301,3,31,'药理学',1,0)");
    }

    void addCourses(const std::string& rows) {
        sql().ExecuteNonQuery(
            "insert into course(icourseid,iclassid,isubclassid,ccoursename,iindex,bstopflag) "
            "values " +
            rows);
    }

    CourseUtil util;
};

TEST_F(CourseCatalogueTest, ListsFollowDisplayOrderAndSkipWithdrawnRows) {
    const auto classes = util.loadCourseClassList();
    ASSERT_EQ(names(classes), (std::vector<std::string>{"财会类", "医药类"}));
    EXPECT_EQ(classes[0].key, "1");
    EXPECT_EQ(classes[1].index, 2);

    EXPECT_EQ(names(util.loadCourseSubClassList(1)), (std::vector<std::string>{"中级", "初级"}));
    EXPECT_TRUE(util.loadCourseSubClassList(0).empty());

    const auto courses = util.loadCourseList(1, 11, "");
    EXPECT_EQ(names(courses), (std::vector<std::string>{"经济法", "会计基础"}));
    EXPECT_EQ(courses[1].key, "101");
    EXPECT_EQ(names(util.loadCourseList(-1, 12, "")), (std::vector<std::string>{"财务管理"}));
    EXPECT_EQ(util.loadCourseList(-1, -1, "").size(), 4u);
    EXPECT_EQ(util.loadCourseList("").size(), 4u);
    // A withdrawn course is not found by search either.
    EXPECT_TRUE(util.loadCourseList(-1, -1, "电算化").empty());

    const auto tree = util.LoadCourseTreeList();
    std::vector<std::string> rows;
    for (const auto& item : tree)
        rows.push_back(std::to_string(item.grade) + item.name);
    EXPECT_EQ(rows, (std::vector<std::string>{"0财会类", "1经济法", "1财务管理", "1会计基础",
                                              "0医药类", "1药理学"}));
    EXPECT_EQ(tree.back().index, 6);
}

TEST_F(CourseCatalogueTest, SearchTextIsMatchedLiterally) {
    addCourses(
        "(201,3,31,'O''Reilly会计',4,0),(202,3,31,'100%通过',5,0),(203,3,31,'a_b',6,0),"
        "(204,3,31,'axb',7,0)");
    LogCapture log;

    EXPECT_EQ(names(util.loadCourseList(-1, -1, "'")), (std::vector<std::string>{"O'Reilly会计"}));
    EXPECT_EQ(names(util.loadCourseList(-1, -1, "%")), (std::vector<std::string>{"100%通过"}));
    EXPECT_EQ(names(util.loadCourseList(-1, -1, "A_B")), (std::vector<std::string>{"a_b"}));
    EXPECT_EQ(util.loadCourseList(-1, -1, "会计").size(), 2u);
    EXPECT_TRUE(util.loadCourseList(-1, -1, "x' or '1'='1").empty());
    EXPECT_TRUE(util.loadCourseList(-1, -1, "\\").empty());
    EXPECT_TRUE(util.loadMessageListByCourseId(1, "a'b").empty());
    // A NUL is a character like any other, and no length makes the search fail.
    EXPECT_TRUE(util.loadCourseList(-1, -1, std::string("会计") + '\0' + "zzz").empty());
    std::string longText;
    for (int i = 0; i < 20000; ++i)
        longText += "会";
    addCourses("(205,3,31,'" + longText + "课程',8,0)");
    EXPECT_EQ(util.loadCourseList(-1, -1, longText).size(), 1u);
    EXPECT_FALSE(log.contains("DB Error")) << log.lines().front();
}

TEST_F(CourseCatalogueTest, ClassPictureIsFoundOnceStoredAndThenRemembered) {
    EXPECT_TRUE(util.loadCourseClassList()[0].image.empty());
    EXPECT_FALSE(util.getClassImage("1").has_value());

    sql().ExecuteNonQuery(
        "insert into sys_tableimage(ctblname,csourceid,pimage) values ('courseclass','1',?)",
        Bytes{1, 2, 3});
    const auto subClasses = util.loadCourseSubClassList(1);
    for (const auto& item : subClasses)
        EXPECT_EQ(item.image, (Bytes{1, 2, 3}));
    EXPECT_EQ(util.loadCourseList(1, 11, "")[0].image, (Bytes{1, 2, 3}));

    sql().ExecuteNonQuery("delete from sys_tableimage");
    EXPECT_EQ(util.getClassImage("1"), (Bytes{1, 2, 3}));
    EXPECT_FALSE(util.getClassImage("").has_value());
}

TEST_F(CourseCatalogueTest, CourseProgressCountsAnsweredSubjectsNotWithdrawn) {
    CourseBuilder b;
    const int chapter = b.chapters(101, 0, {"01"})[0];
    b.subjects(3, {.courseId = 101, .chapterId = chapter});
    EXPECT_EQ(tally(util.getCourseFinishCount(101)), "0 0 0 0 0");

    NewSubject right{.courseId = 101, .chapterId = chapter, .myanswer = "A", .correct = true};
    b.subjects(2, right);
    b.subject({.courseId = 101, .chapterId = chapter, .myanswer = "B"});
    right.stopflag = true;  // withdrawn: counts nowhere
    b.subject(right);
    b.subject({.courseId = 102, .chapterId = chapter, .myanswer = "A", .correct = true});

    EXPECT_EQ(tally(util.getCourseFinishCount(101, true)), "6 3 2 0 0");
}

TEST_F(CourseCatalogueTest, MessagesOfTheCourseAndOfEveryCourse) {
    sql().ExecuteNonQuery(
        "insert into sys_message(cmsgid,cmsgtitle,cmsgurl,ctype,icourseid,bstopflag) values "
        "('m1','通知','u1','news',0,0),('m2','考试','u2','exam',101,0),('m3','其他课程','u3','news'"
        ","
        "102,0),('m4','撤回','u4','news',0,1)");
    EXPECT_EQ(fields(util.loadMessageListByCourseId(101, ""), &MessageEntity::msgtitle),
              (std::vector<std::string>{"通知", "考试"}));
    const auto news = util.loadMessageListByCourseId(101, "news");
    ASSERT_EQ(news.size(), 1u);
    EXPECT_EQ(news[0].msgurl, "u1");
}

}  // namespace
}  // namespace examora
