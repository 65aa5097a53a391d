#include <gtest/gtest.h>

#include <string>

#include "platform/base64.h"
#include "platform/dict.h"
#include "store/content_cipher.h"
#include "store/records/course_entity.h"
#include "store/records/course_subject_entity.h"
#include "store/records/cus_setting_entity.h"
#include "store/records/message_entity.h"
#include "store/records/photo_ad_entity.h"
#include "store/records/server_exchange_item_entity.h"
#include "store/records/simulation_log_entity.h"
#include "store/records/simulation_paper_entity.h"
#include "support/course_builder.h"
#include "support/store_test_fixture.h"

namespace examora {
namespace {

Dict subjectRow() {
    return Dict{{"isubjectid", 501},
                {"icourseid", 7},
                {"ichapterid", 70},
                {"isubjecttype", 1},
                {"iscore", 2},
                {"ctitle", *ContentCipher::encipher("下列属于流动资产的有（ ）。")},
                {"cdescription", *ContentCipher::encipher("解析：存货和应收账款都属于流动资产。")},
                {"canswer", "  ABD \r\n"},
                {"csubjecttype", "多项选择"},
                {"cmyanswer", "AB"},
                {"bcorrect", 0},
                {"imyscore", 1.5},
                {"iwrong", -2},
                {"danswerdate", "2026-11-30T08:09:10"},
                {"bcollect", 1}};
}

TEST(Records, NilOrNullValuesGiveEmptyTextsZerosAndNoDates) {
    // A record re-filled from nil must lose every earlier value, not keep stale ones.
    CourseSubjectEntity s;
    s.initWithDict(subjectRow(), true);
    s.initWithDict(nullptr, true);
    EXPECT_EQ(s.subjectid, 0);
    EXPECT_EQ(s.title, "");
    EXPECT_EQ(s.answer, "");
    EXPECT_EQ(s.score, std::nullopt);
    EXPECT_EQ(s.answerdate, std::nullopt);
    EXPECT_FALSE(s.collect);
    s.initWithDict(Dict{{"iscore", 0}}, false);  // no points differs from no score
    EXPECT_EQ(s.score, 0.0);

    // The null value and the text "NULL" are the null object: they read as empty too.
    Dict nulls{{"icourseid", Value()}, {"ccoursename", "NULL"}, {"cexamdate", Value()},
               {"bdistrict", "NULL"},  {"dchangedate", "NULL"}, {"dcreatedate", "not a date"}};
    CourseEntity c;
    c.initWithDict(nulls);
    EXPECT_EQ(c.courseid, 0);
    EXPECT_EQ(c.coursename, "");
    EXPECT_EQ(c.examdate, "");
    EXPECT_FALSE(c.district);
    EXPECT_EQ(c.changedate, std::nullopt);
    EXPECT_EQ(c.createdate, std::nullopt);
}

TEST(Records, SubjectDeciphersOnlyWhenAskedAndTrimsTheAnswer) {
    const Dict row = subjectRow();
    CourseSubjectEntity plain;
    plain.initWithDict(row, true);
    EXPECT_EQ(plain.title, "下列属于流动资产的有（ ）。");
    EXPECT_EQ(plain.description, "解析：存货和应收账款都属于流动资产。");
    EXPECT_EQ(plain.answer, "ABD");
    EXPECT_EQ(plain.subjecttypestring, "多项选择");
    EXPECT_EQ(plain.score, 2.0);
    EXPECT_DOUBLE_EQ(plain.myscore, 1.5);
    EXPECT_EQ(plain.wrong, -2);
    EXPECT_EQ(plain.answerdate, "2026-11-30 08:09:10");

    CourseSubjectEntity stored;
    stored.initWithDict(row, false);
    EXPECT_EQ(stored.title, row.get("ctitle").asString());
    EXPECT_EQ(stored.description, row.get("cdescription").asString());
    EXPECT_EQ(stored.answer, "ABD");

    // Text that is not a ciphertext (a damaged row) gives an empty field, never a crash.
    Dict damaged = row;
    damaged.set("ctitle", "未加密的题干");
    damaged.set("cdescription", "");
    CourseSubjectEntity d;
    d.initWithDict(damaged, true);
    EXPECT_EQ(d.title, "");
    EXPECT_EQ(d.description, "");
}

TEST(Records, FieldsReadFromTheirOwnKeys) {
    MessageEntity fromService;
    fromService.initWithDict(Dict{{"cmsgid", "m1"}, {"itype", 3}, {"ctype", "ignored"}});
    EXPECT_EQ(fromService.type, "3");
    MessageEntity fromRow;
    fromRow.initWithDict(Dict{{"cmsgid", "m1"}, {"ctype", "news"}});
    EXPECT_EQ(fromRow.type, "news");

    CusSettingEntity setting;
    setting.initWithDict(
        Dict{{"cname", "ifontsize"}, {"cvalue", 3}, {"dchangdate", "2026/1/2 3:04:05"}});
    EXPECT_EQ(setting.value, "3");
    EXPECT_EQ(setting.changedate, "2026-01-02 03:04:05");
    CusSettingEntity settingRow;
    settingRow.initWithDict(Dict{{"cname", "x"}, {"dchangedate", "2026-01-02 03:04:05"}});
    EXPECT_EQ(settingRow.changedate, "2026-01-02 03:04:05");

    SimulationLogEntity log;
    log.initWithDict(Dict{{"id", 9},
                          {"_chaptername", "第一章"},
                          {"iprescore", 60},
                          {"dtime", "2026-01-01 00:00:00"}});
    EXPECT_EQ(log.logid, 9);
    EXPECT_EQ(log.chaptername, "第一章");
    EXPECT_DOUBLE_EQ(log.prescore, 60);
    EXPECT_EQ(log.time, "2026-01-01 00:00:00");

    SimulationPaperEntity paper;
    paper.initWithDict(Dict{{"iserverpaperid", std::int64_t{5'000'000'000}}});
    EXPECT_EQ(paper.serverpaperid, 5'000'000'000);
}

TEST(Records, ExchangeItemDatesKeepEmptyApartFromMissing) {
    ServerExchangeItemEntity empty;
    empty.initWithDict(Dict{{"id", 3}, {"citemname", "course"}, {"dupdatedate", ""}});
    EXPECT_EQ(empty.updatedate, std::string());
    EXPECT_EQ(empty.deletedate, std::nullopt);
    ServerExchangeItemEntity server;
    server.initWithDict(
        Dict{{"id", 3}, {"dupdatedate", "2026-03-01T08:09:10"}, {"ddeletedate", "NULL"}});
    EXPECT_EQ(server.updatedate, "2026-03-01 08:09:10");
    EXPECT_EQ(server.deletedate, std::nullopt);
}

TEST(Records, PicturesArriveAsBase64OrAsBytes) {
    const Bytes png{0x89, 'P', 'N', 'G', 0, 1, 2};
    PhotoADEntity fromService;
    fromService.initWithDict(Dict{{"ipaid", 1}, {"pimage", base64Encode(png)}});
    EXPECT_EQ(fromService.image, png);
    PhotoADEntity fromRow;
    fromRow.initWithDict(Dict{{"ipaid", 1}, {"pimage", png}});
    EXPECT_EQ(fromRow.image, png);
    PhotoADEntity broken;
    broken.initWithDict(Dict{{"pimage", "%%%"}});
    EXPECT_TRUE(broken.image.empty());
}

class RecordRowsTest : public StoreTest {
  protected:
    Dict row(const std::string& query) {
        sql().OpenDataBase();
        Dict d;
        if (auto rs = sql().ExecuteDataReader(query, std::vector<Value>{}); rs && rs->next())
            d = rs->resultDictionary();
        sql().CloseDataBase();
        return d;
    }
};

TEST_F(RecordRowsTest, StoredRowsFillTheirRecords) {
    CourseBuilder b;
    b.course(3);
    const int chapter = b.chapters(3, 0, {"01"})[0];
    const int id = b.subject({.courseId = 3,
                              .chapterId = chapter,
                              .score = std::nullopt,
                              .title = "题干<b>加粗</b>",
                              .answer = " C "});
    CourseSubjectEntity s;
    s.initWithDict(row("select * from coursesubject where isubjectid=" + std::to_string(id)), true);
    EXPECT_EQ(s.subjectid, id);
    EXPECT_EQ(s.chapterid, chapter);
    EXPECT_EQ(s.title, "题干<b>加粗</b>");
    EXPECT_EQ(s.answer, "C");
    EXPECT_EQ(s.score, std::nullopt);
    EXPECT_TRUE(s.changedate.has_value());

    // Every field of a log is filled from its own table's row.
    ASSERT_TRUE(sql().ExecuteNonQuery(
        "insert into simulationlog(icourseid,isubclassid,ccuscode,cuserid,cchaptername,iusetime,"
        "imyscore,itotalscore,itestcount,dprescore,dchangedate) values "
        "(3,4,'c01','u01','第一章',600,80,100,2,75.5,'2026-12-01 08:00:00')",
        std::vector<Value>{}));
    SimulationLogEntity log;
    log.initWithDict(row("select * from simulationlog"));
    EXPECT_EQ(log.chaptername, "第一章");
    EXPECT_DOUBLE_EQ(log.prescore, 75.5);
    EXPECT_EQ(log.time, "2026-12-01 08:00:00");
    EXPECT_EQ(log.subclassid, 4);
    EXPECT_EQ(log.userid, "u01");
}

}  // namespace
}  // namespace examora
