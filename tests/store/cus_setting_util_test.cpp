#include "store/cus_setting_util.h"

#include <gtest/gtest.h>

#include <climits>
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
        "('empty',''),('word','大号'),('lead','12px'),('neg','-3'),('wide','4294967297')",
        {});
    EXPECT_EQ(util.getValue("missing"), "");
    EXPECT_EQ(util.getValue("nullvalue"), "");

    // The default only for what is absent; a word that is present but not a number reads 0.
    const std::pair<const char*, int> ints[] = {{"missing", 2}, {"nullvalue", 2}, {"nulltext", 2},
                                                {"empty", 2},   {"word", 0},      {"lead", 12},
                                                {"neg", -3},    {"wide", INT_MAX}};
    for (const auto& [name, expected] : ints)
        EXPECT_EQ(util.getIntValue(name, 2), expected) << name;
    // Integer columns read by the data-access layer follow the same rule.
    EXPECT_EQ(util.ExecuteScalarInt("select cvalue from sys_cussetting where cname='wide'"),
              INT_MAX);
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
    // Every other table of the template gets a row, and must lose it.
    std::vector<std::string> tables;
    sql().OpenDataBase();
    if (auto rs = sql().ExecuteDataReader(
            "select name from sqlite_master where type='table' and name not like 'sqlite%' and "
            "name not in ('sys_serverexchangeitem','coursesubjecttype')",
            std::vector<Value>{})) {
        while (rs->next())
            tables.push_back(rs->stringForColumnIndex(0).value_or(""));
    }
    sql().CloseDataBase();
    ASSERT_EQ(tables.size(), 18u);
    for (const std::string& t : tables) {
        ASSERT_TRUE(sql().ExecuteNonQuery(
            t == "sys_tableimage" ? "insert into " + t + " values ('t','1',x'00','',null)"
                                  : "insert into " + t + " default values",
            {}))
            << t;
    }
    util.setValue("ifontsize", "3");
    sql().ExecuteNonQuery("update sys_serverexchangeitem set dupdatedate='2026-11-01 00:00:00'",
                          {});

    util.clearDBData();
    for (const std::string& t : tables)
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
