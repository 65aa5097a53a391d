#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/course_util.h"
#include "platform/log.h"
#include "support/course_builder.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

std::vector<std::string> names(const std::vector<BaseItemEntity>& items) {
    std::vector<std::string> out;
    for (const auto& item : items)
        out.push_back(item.name);
    return out;
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
    EXPECT_EQ(names(util.loadCourseList(-1, -1, "_")), (std::vector<std::string>{"a_b"}));
    EXPECT_EQ(names(util.loadCourseList(-1, -1, "A_B")), (std::vector<std::string>{"a_b"}));
    EXPECT_EQ(util.loadCourseList(-1, -1, "会计").size(), 2u);
    EXPECT_TRUE(util.loadCourseList(-1, -1, "x' or '1'='1").empty());
    EXPECT_TRUE(util.loadCourseList(-1, -1, "\\").empty());
    EXPECT_TRUE(util.loadMessageListByCourseId(1, "a'b").empty());
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

TEST_F(CourseCatalogueTest, LookupsOfMissingRowsAreEmpty) {
    EXPECT_FALSE(util.getCourseName(999).has_value());
    EXPECT_EQ(util.getClassIdBySubCalss(99), 0);
    EXPECT_FALSE(util.checkCourseHadDistrict(999));
    EXPECT_TRUE(util.loadDistrict().empty());
}

TEST_F(CourseCatalogueTest, CourseProgressCountsAnsweredSubjectsNotWithdrawn) {
    CourseBuilder b;
    const int chapter = b.chapters(101, 0, {"01"})[0];
    b.subjects(3, {.courseId = 101, .chapterId = chapter});
    EXPECT_EQ(util.getCourseFinishCount(101).finishcount, 0);
    EXPECT_EQ(util.getCourseFinishCount(101).itotalcount, 0);

    b.subjects(2, {.courseId = 101, .chapterId = chapter, .myanswer = "A", .correct = true});
    b.subject({.courseId = 101, .chapterId = chapter, .myanswer = "B"});
    b.subject({.courseId = 101,
               .chapterId = chapter,
               .stopflag = true,
               .myanswer = "A",
               .correct = true});
    b.subject({.courseId = 102, .chapterId = chapter, .myanswer = "A", .correct = true});

    const FinishCountResult r = util.getCourseFinishCount(101, true);
    EXPECT_EQ(r.itotalcount, 6);
    EXPECT_EQ(r.finishcount, 3);
    EXPECT_EQ(r.correctcount, 2);
}

TEST_F(CourseCatalogueTest, MessagesOfTheCourseAndOfEveryCourse) {
    sql().ExecuteNonQuery(
        "insert into sys_message(cmsgid,cmsgtitle,cmsgurl,ctype,icourseid,bstopflag) values "
        "('m1','通知','u1','news',0,0),('m2','考试','u2','exam',101,0),('m3','其他课程','u3','news'"
        ","
        "102,0),('m4','撤回','u4','news',0,1)");
    std::vector<std::string> titles;
    for (const auto& m : util.loadMessageListByCourseId(101, ""))
        titles.push_back(m.msgtitle);
    EXPECT_EQ(titles, (std::vector<std::string>{"通知", "考试"}));
    const auto news = util.loadMessageListByCourseId(101, "news");
    ASSERT_EQ(news.size(), 1u);
    EXPECT_EQ(news[0].msgurl, "u1");
}

}  // namespace
}  // namespace examora
