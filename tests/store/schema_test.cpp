#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/log.h"
#include "store/server_exchange_items.h"
#include "support/course_builder.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

class SchemaTest : public StoreTest {};

// Every column an operation of the system names; a column missing from the template would only
// show as a logged SQL error in the one operation that needs it.
const std::map<std::string, std::vector<std::string>> kColumns = {
    {"courseclass",
     {"iclassid", "ccoursecname", "csubjecttypes", "iindex", "bstopflag", "dchangedate"}},
    {"coursesubclass",
     {"isubclassid", "csubclassname", "iclassid", "iindex", "bstopflag", "dchangedate"}},
    {"course",
     {"icourseid",      "iclassid",       "isubclassid",    "ccoursename",    "iindex",
      "bstopflag",      "bdistrict",      "dchangedate",    "dcreatedate",    "cexamdate",
      "ctypscount",     "cmemo",          "ccreateperson",  "dchapterchange", "dsubjectchange",
      "doutlinechange", "dchapterdelete", "dsubjectdelete", "doutlinedelete", "iselectchapterid",
      "itestsubjectid", "itestmode"}},
    {"coursechapter",
     {"ichapterid", "icourseid", "cchaptercode", "itype", "cchaptername", "bendgrade", "igrade",
      "icount", "iexamtime", "cdcname", "cmemo", "bstopflag", "dchangedate", "bdownload"}},
    {"coursesubject",
     {"isubjectid",   "icourseid",     "ichapterid", "isubjecttype", "ichaptertype", "iindex",
      "iscore",       "ctitle",        "cquestion",  "canswer",      "ianswercount", "cdescription",
      "csubjecttype", "bpicquestion",  "bpicanswer", "brich",        "bstopflag",    "dchangedate",
      "cmaker",       "cmyanswer",     "bcorrect",   "imyscore",     "danswerdate",  "iwrong",
      "bremember",    "drememberdate", "bcollect"}},
    {"courseoutline",
     {"ioutlineid", "icourseid", "coutlinecode", "itype", "coutlinename", "bendgrade", "igrade",
      "cdcname", "curl", "ctext", "bstopflag", "dchangedate"}},
    {"coursesubjecttype", {"isubjecttype", "csubjectname"}},
    {"district", {"cdccode", "cdcname", "bendgrade", "igrade", "cmemo", "dchangedate"}},
    {"sys_message",
     {"cmsgid", "cmsgtitle", "cmsgurl", "ctype", "iindex", "icourseid", "bstopflag", "dchangedate",
      "dstartdate", "denddate"}},
    {"sys_photoad",
     {"ipaid", "cpatitle", "pimage", "curl", "cextname", "bstopflag", "dchangedate", "dstartdate",
      "denddate"}},
    {"sys_tableimage", {"ctblname", "csourceid", "pimage", "cextname", "dchangedate"}},
    {"simulationpaper",
     {"ipaperid", "icourseid", "cpapername", "itotaltime", "itotalscore", "iscore", "iexam",
      "ifromchapter", "isubjectcount", "itype0count", "itype1count", "itype2count", "itype3count",
      "itype4count", "itype5count", "dcreatedate", "dexamtime", "iusetime", "iserverpaperid"}},
    {"simulationpaperdetail",
     {"id", "ipaperid", "iindex", "isubjectid", "cmyanswer", "bcorrect", "iscore", "imyscore"}},
    {"cs_writenote", {"id", "isubjectid", "cnotetext", "dchangedate", "istatus"}},
    {"cs_writeerror", {"id", "isubjectid", "ierrortype", "cerrortext", "dchangedate", "istatus"}},
    {"simulationlog",
     {"id", "icourseid", "ccuscode", "cuserid", "cchaptername", "iusetime", "imyscore",
      "itotalscore", "itestcount", "dprescore", "dchangedate"}},
    {"sys_cussetting", {"cname", "cvalue", "dchangedate"}},
    {"sys_serverexchangeitem", {"id", "citemname", "dupdatedate", "ddeletedate"}},
    {"sys_exchangeclienttask", {"cprimaryvalue", "citemname", "iaction", "dchangedate", "cmaker"}},
    {"sys_knowledge", {}},
};

TEST_F(SchemaTest, TemplateHoldsEveryTableWithTheColumnsTheOperationsName) {
    for (const auto& [table, columns] : kColumns) {
        EXPECT_TRUE(sql().ExistsTable(table)) << table;
        for (const std::string& column : columns)
            EXPECT_TRUE(sql().ExistsCol(table, column)) << table << "." << column;
    }
}

TEST_F(SchemaTest, FixedRowsAreShipped) {
    // The base items in number order, exactly as the code lists them, none refreshed yet.
    sql().OpenDataBase();
    auto rs = sql().ExecuteDataReader(
        "select id,citemname,dupdatedate from sys_serverexchangeitem order by id",
        std::vector<Value>{});
    ASSERT_TRUE(rs);
    std::size_t n = 0;
    while (rs->next()) {
        ASSERT_LT(n, kServerExchangeItems.size());
        EXPECT_EQ(rs->intForColumn("id"), kServerExchangeItems[n].id);
        EXPECT_EQ(rs->stringForColumn("citemname"), std::string(kServerExchangeItems[n].name));
        EXPECT_TRUE(rs->columnIndexIsNull(2));
        ++n;
    }
    rs.reset();
    sql().CloseDataBase();
    EXPECT_EQ(n, kServerExchangeItems.size());

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

TEST_F(SchemaTest, LateCourseColumnsAreAddedToAnOlderCourseTableAndKeepItsRows) {
    CourseBuilder b;
    b.course(7, "经济法基础");
    // An older database: the course table without the two late columns.
    ASSERT_TRUE(sql().ExecuteNonQuery("alter table course drop column cexamdate", {}));
    ASSERT_TRUE(sql().ExecuteNonQuery("alter table course drop column ctypscount", {}));

    auto addLateColumns = [this] {
        if (!sql().ExistsCol("course", "cexamdate"))
            sql().ExecuteNonQuery("alter table course add [cexamdate] char(10) null", {});
        if (!sql().ExistsCol("COURSE", "CTYPSCOUNT"))
            sql().ExecuteNonQuery("alter table course add [ctypscount] char(200) null", {});
    };
    EXPECT_FALSE(sql().ExistsCol("course", "cexamdate"));
    addLateColumns();
    EXPECT_TRUE(sql().ExistsCol("course", "cexamdate"));
    EXPECT_TRUE(sql().ExistsCol("course", "ctypscount"));
    EXPECT_EQ(sql().ExecuteScalarString("select ccoursename from course where icourseid=7"),
              std::string("经济法基础"));
    EXPECT_TRUE(
        sql().ExecuteNonQuery("update course set cexamdate=?,ctypscount=? where icourseid=7",
                              "2027-05-15", "100,120|1,2,1,5,10,10|40,20,20,0,0,0"));

    // A table that has them is left as it is.
    LogCapture log;
    addLateColumns();
    EXPECT_FALSE(log.contains("DB Error"));
    EXPECT_EQ(sql().ExecuteScalarString("select cexamdate from course where icourseid=7"),
              std::string("2027-05-15"));
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
