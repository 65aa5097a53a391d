#include "store/cus_setting_util.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/date_time.h"
#include "platform/log.h"
#include "support/course_builder.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

class CusSettingUtilTest : public StoreTest {
  protected:
    std::optional<std::string> dateOf(const std::string& name) {
        return sql().ExecuteScalarString("select dchangedate from sys_cussetting where cname=?",
                                         name);
    }
    CusSettingUtil util;
};

TEST_F(CusSettingUtilTest, SetValueWritesOnlyChangesAndKeepsTheRowsDate) {
    EXPECT_TRUE(util.setValue("ifontsize", "3"));
    EXPECT_EQ(dateOf("ifontsize")->substr(0, 10), nowLocalText().substr(0, 10));

    // A row published earlier keeps its date through every later write.
    sql().ExecuteNonQuery("update sys_cussetting set dchangedate='2020-01-02 03:04:05'", {});
    EXPECT_FALSE(util.setValue("ifontsize", "3"));
    EXPECT_TRUE(util.setValue("ifontsize", "4"));
    EXPECT_EQ(util.getValue("ifontsize"), "4");
    EXPECT_EQ(dateOf("ifontsize"), std::string("2020-01-02 03:04:05"));
    EXPECT_EQ(count("sys_cussetting"), 1);

    // Names and values are bound, never spliced.
    const std::string odd = "examdate'; drop table sys_cussetting; --";
    EXPECT_TRUE(util.setValue(odd, "it's \"quoted\""));
    EXPECT_EQ(CusSettingUtil::getSettingValue(odd), "it's \"quoted\"");
}

TEST_F(CusSettingUtilTest, ReadsGiveEmptyOrTheDefaultForWhatIsNotThere) {
    sql().ExecuteNonQuery(
        "insert into sys_cussetting(cname,cvalue) values ('nullvalue',null),('nulltext','NULL'),"
        "('empty',''),('word','大号'),('lead','12px'),('neg','-3')",
        {});
    EXPECT_EQ(util.getValue("missing"), "");
    EXPECT_EQ(util.getValue("nullvalue"), "");

    EXPECT_EQ(util.getIntValue("missing", 2), 2);
    EXPECT_EQ(util.getIntValue("nullvalue", 2), 2);
    EXPECT_EQ(util.getIntValue("nulltext", 2), 2);
    EXPECT_EQ(util.getIntValue("empty", 2), 2);
    EXPECT_EQ(util.getIntValue("word", 2), 0);  // present but not a number
    EXPECT_EQ(util.getIntValue("lead", 2), 12);
    EXPECT_EQ(util.getIntValue("neg", 2), -3);
}

TEST_F(CusSettingUtilTest, ConveniencesWorkFromAnyThreadWhileAnotherConnectionIsOpen) {
    // The facade's own object may hold the database open; each convenience has its own
    // connection.
    ASSERT_TRUE(util.OpenDataBase());
    std::thread writer([] {
        for (int course = 1; course <= 20; ++course)
            CusSettingUtil::setSettingValue("uploadsubjectdate" + std::to_string(course),
                                            "2026-12-0" + std::to_string(course % 9 + 1));
    });
    writer.join();
    EXPECT_EQ(util.getValue("uploadsubjectdate3"), "2026-12-04");
    util.CloseDataBase();
    EXPECT_EQ(CusSettingUtil::getSettingValue("uploadsubjectdate20"), "2026-12-03");
}

TEST_F(CusSettingUtilTest, ClearDBDataEmptiesEverythingButTheShippedRows) {
    CourseBuilder b;
    b.course(1);
    const int chapter = b.chapters(1, 0, {"01", "0101"})[1];
    const int subject = b.subject({.courseId = 1, .chapterId = chapter, .myanswer = "A"});
    b.paper(1, {subject});
    b.note(subject, "笔记");
    b.errorReport(subject, "答案有误");
    util.setValue("ifontsize", "3");
    const char* rows[] = {
        "insert into courseclass(iclassid,ccoursecname) values (1,'会计')",
        "insert into coursesubclass(isubclassid,csubclassname,iclassid) values (1,'初级',1)",
        "insert into district(cdccode,cdcname) values ('11','北京')",
        "insert into sys_message(cmsgid,cmsgtitle) values ('m','通知')",
        "insert into sys_photoad(ipaid,cpatitle) values (1,'广告')",
        "insert into sys_tableimage(ctblname,csourceid,pimage) values ('courseclass','1',x'00')",
        "insert into courseoutline(ioutlineid,icourseid) values (1,1)",
        "insert into simulationlog(icourseid) values (1)",
        "insert into sys_knowledge(icourseid) values (1)",
        "insert into sys_exchangeclienttask(cprimaryvalue,citemname,iaction) values "
        "('1','cs_writenote',0)",
        "update sys_serverexchangeitem set dupdatedate='2026-11-01 00:00:00'",
    };
    for (const char* row : rows)
        ASSERT_TRUE(sql().ExecuteNonQuery(row, {})) << row;
    const char* tables[] = {
        "sys_tableimage",         "sys_photoad",    "sys_message",           "sys_knowledge",
        "sys_exchangeclienttask", "sys_cussetting", "simulationpaperdetail", "simulationpaper",
        "simulationlog",          "district",       "cs_writenote",          "cs_writeerror",
        "coursesubject",          "courseoutline",  "coursechapter",         "course",
        "coursesubclass",         "courseclass"};
    for (const char* t : tables)
        ASSERT_GT(count(t), 0) << t;

    util.clearDBData();
    for (const char* t : tables)
        EXPECT_EQ(count(t), 0) << t;
    EXPECT_EQ(count("sys_serverexchangeitem"), 7);
    EXPECT_EQ(count("sys_serverexchangeitem", "dupdatedate is not null"), 0);
    EXPECT_EQ(count("coursesubjecttype"), 7);
    EXPECT_EQ(util.getIntValue("ifontsize", 2), 2);
}

TEST_F(CusSettingUtilTest, ClearDBDataGoesOnPastAFailingStatement) {
    CourseBuilder b;
    b.course(1);
    sql().ExecuteNonQuery("drop table sys_knowledge", {});
    LogCapture log;
    util.clearDBData();
    EXPECT_TRUE(log.contains("DB Error"));
    EXPECT_EQ(count("course"), 0);
    EXPECT_FALSE(util.HasTransaction());
    EXPECT_FALSE(util.isOpen());
}

}  // namespace
}  // namespace examora
