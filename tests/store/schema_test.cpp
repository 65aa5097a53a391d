#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/log.h"
#include "platform/text_util.h"
#include "store/server_exchange_items.h"
#include "support/course_builder.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

class SchemaTest : public StoreTest {};

// Every table the operations name, with the number of columns they name in it: a column missing
// from the template would only show as a logged SQL error in the one operation that needs it.
const std::map<std::string, int> kTables = {
    {"courseclass", 6},    {"coursesubclass", 6},         {"course", 22},
    {"coursechapter", 14}, {"coursesubject", 27},         {"courseoutline", 12},
    {"district", 6},       {"coursesubjecttype", 2},      {"sys_message", 10},
    {"sys_photoad", 9},    {"sys_tableimage", 5},         {"simulationpaper", 19},
    {"cs_writenote", 5},   {"simulationpaperdetail", 8},  {"cs_writeerror", 6},
    {"simulationlog", 11}, {"sys_cussetting", 3},         {"sys_serverexchangeitem", 4},
    {"sys_knowledge", 0},  {"sys_exchangeclienttask", 5},
};
// Columns that only one or two operations touch, where a misspelling would go unseen elsewhere.
const char* kRareColumns =
    "course.cexamdate course.ctypscount course.doutlinedelete course.iselectchapterid "
    "course.itestsubjectid course.itestmode coursechapter.bdownload coursechapter.iexamtime "
    "coursesubject.drememberdate coursesubject.ianswercount coursesubject.brich "
    "courseoutline.ctext sys_message.denddate sys_photoad.cextname sys_tableimage.cextname "
    "simulationpaper.iserverpaperid simulationpaper.itype5count simulationlog.dprescore "
    "sys_exchangeclienttask.cmaker sys_serverexchangeitem.ddeletedate";

TEST_F(SchemaTest, TemplateHoldsEveryTableWithTheColumnsTheOperationsName) {
    for (const auto& [table, columns] : kTables) {
        EXPECT_TRUE(sql().ExistsTable(table)) << table;
        EXPECT_GE(sql().ExecuteScalarInt("select count(*) from pragma_table_info(?)", table),
                  columns)
            << table;
    }
    for (const std::string& column : split(kRareColumns, " ")) {
        const std::size_t dot = column.find('.');
        EXPECT_TRUE(sql().ExistsCol(column.substr(0, dot), column.substr(dot + 1))) << column;
    }
}

TEST_F(SchemaTest, FixedRowsAreShipped) {
    // The base items under their numbers, exactly as the code lists them, none refreshed yet.
    for (const ServerExchangeItem& item : kServerExchangeItems) {
        EXPECT_EQ(sql().ExecuteScalarString("select citemname from sys_serverexchangeitem "
                                            "where id=? and dupdatedate is null",
                                            item.id),
                  std::string(item.name));
    }
    EXPECT_EQ(count("sys_serverexchangeitem"), static_cast<int>(kServerExchangeItems.size()));

    const char* names[] = {"单选题", "多选题", "判断题", "问答题", "案例题", "填空题", "不定项"};
    for (int code = 0; code <= 6; ++code) {
        EXPECT_EQ(sql().ExecuteScalarString(
                      "select csubjectname from coursesubjecttype where isubjecttype=?", code),
                  std::string(names[code]));
    }
    EXPECT_EQ(count("coursesubjecttype"), 7);
}

TEST_F(SchemaTest, AnExchangeTaskIsQueuedOnceByRecordTableAndAction) {
    const char* insert =
        "insert into sys_exchangeclienttask(cprimaryvalue,citemname,iaction,dchangedate,cmaker) "
        "values (?,?,?,datetime('now','localtime'),'')";
    LogCapture log;  // the refused duplicate is logged
    EXPECT_TRUE(sql().ExecuteNonQuery(insert, "12", "cs_writenote", 0));
    EXPECT_FALSE(sql().ExecuteNonQuery(insert, "12", "cs_writenote", 0));
    EXPECT_TRUE(sql().ExecuteNonQuery(insert, "12", "cs_writenote", 1));
    EXPECT_TRUE(sql().ExecuteNonQuery(insert, "12", "cs_writeerror", 0));
    EXPECT_EQ(count("sys_exchangeclienttask"), 3);
}

TEST_F(SchemaTest, ClientAssignedIdsAreNeverReused) {
    // A task or a server copy naming a deleted paper or note must never match a later one.
    CourseBuilder b;
    const int paper = b.paper(1, {});
    const int note = b.note(5, "第一条笔记");
    sql().ExecuteNonQuery("delete from simulationpaper", {});
    sql().ExecuteNonQuery("delete from cs_writenote", {});
    EXPECT_GT(b.paper(1, {}), paper);
    EXPECT_GT(b.note(5, "第二条笔记"), note);
}

TEST_F(SchemaTest, PracticeQueriesUseAnIndex) {
    const char* queries[] = {
        "select isubjectid from coursesubject a where icourseid=1  and ichapterid=5 and "
        "bstopflag=0 order by isubjecttype, iindex, isubjectid",
        "select isubjectid from coursesubject a where icourseid=1 and bstopflag=0 order by "
        "isubjecttype, iindex, isubjectid",
        "select ichapterid from coursechapter where icourseid=1 and cchaptercode='01' and itype=0",
        "select min(igrade) from coursechapter where icourseid=1 and itype=0 and bstopflag=0",
        "select * from simulationpaperdetail where ipaperid=3",
        "select id,cnotetext,dchangedate from cs_writenote where isubjectid=9",
        "select * from cs_writeerror where isubjectid=9",
        "select 0 from coursesubject where icourseid=1 and cmaker='downloading' and "
        "isubjecttype=3 limit 1",
    };
    sql().OpenDataBase();
    for (const char* q : queries) {
        auto rs = sql().ExecuteDataReader(std::string("explain query plan ") + q, {});
        ASSERT_TRUE(rs) << q;
        std::string plan;
        while (rs->next())
            plan += rs->stringForColumn("detail").value_or("") + "; ";
        EXPECT_NE(plan.find("USING"), std::string::npos) << q << " → " << plan;
        EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos) << q << " → " << plan;
    }
    sql().CloseDataBase();
}

TEST_F(SchemaTest, InstalledCopyJournalsAhead) {
    EXPECT_EQ(sql().ExecuteScalarString("pragma journal_mode"), std::string("wal"));
}

}  // namespace
}  // namespace examora
