// Course content synchronisation against the reference service with a course loaded into it.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <mutex>

#include "app/common_setting.h"
#include "platform/log.h"
#include "server/content_store.h"
#include "server/course_content_loader.h"
#include "server/reference_service.h"
#include "service/asi_service_args.h"
#include "store/content_cipher.h"
#include "support/store_test_fixture.h"
#include "sync/client_data_exchange.h"
#include "sync/course_content_sync.h"

namespace examora {
namespace {

constexpr int kCourse = 7;

Bytes bytesOf(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

Dict chapter(int id, const std::string& code, const std::string& name, int type = 0) {
    return {{"ichapterid", id}, {"icourseid", kCourse}, {"cchaptercode", code},
            {"itype", type},    {"cchaptername", name}, {"bendgrade", 1},
            {"igrade", 0},      {"icount", 0},          {"bstopflag", 0}};
}

Dict subject(int id, const std::string& title, const std::string& description = "解析") {
    return {{"isubjectid", id},
            {"icourseid", kCourse},
            {"ichapterid", 101},
            {"isubjecttype", 0},
            {"iindex", id},
            {"iscore", 1},
            {"ctitle", title},
            {"cquestion", "A.甲 B.乙"},
            {"canswer", "A"},
            {"ianswercount", 2},
            {"cdescription", description}};
}

// A test home with the template database and a course row never synchronised, and the reference
// service in-process holding the course's content. The change lists and the picture lists are
// answered from the service's store and recorded; a test may make the picture list fail.
class ContentSyncTest : public StoreTest {
  protected:
    ContentSyncTest()
        : service(ReferenceServiceOptions{home_.makeDirectory("service"), "127.0.0.1", 0}),
          content(service.store()),
          loader(service.store()) {
        const std::pair<const char*, int> lists[] = {{"LoadNewCourseChapter_HadDistrice", 0},
                                                     {"LoadNewCourseOutline", 1},
                                                     {"LoadNewCourseSubjectGroup_HadDistrict", 2}};
        for (const auto& [method, set] : lists) {
            const std::string name = method;
            const int itemSet = set;
            service.dispatcher().add(name, [this, name, itemSet](const SoapRequest& r) {
                record(name + " " + r.text("lastUpdateDate"));
                ContentStore::ChangeList list = content.changeList(
                    itemSet, *r.integer("courseId"), r.text("district"), r.text("lastUpdateDate"));
                return ServiceReply::soapAnswer(name, list.text, {{"lastUpdateDate", list.date}});
            });
        }
        service.dispatcher().add("LoadSubjectImageList", [this](const SoapRequest& r) {
            record("LoadSubjectImageList " + r.text("subjectId"));
            std::lock_guard<std::mutex> lock(mutex);
            if (picturesFail) return ServiceReply::soapFault("busy");
            DictList pictures = content.subjectPictures(*r.integer("subjectId"));
            if (scriptedPicture) pictures = {*scriptedPicture};
            return ServiceReply::soapAnswer("LoadSubjectImageList",
                                            ExamWebServiceUtil::rowsToJSON(pictures).dump());
        });
        service.dispatcher().add("CheckCourseHadNewUpdate", [this](const SoapRequest& r) {
            record("CheckCourseHadNewUpdate " + r.text("updateobj") + " " + r.text("lastdate"));
            return ServiceReply::soapAnswer("CheckCourseHadNewUpdate", "true");
        });
        if (!service.start()) throw std::runtime_error("the reference service did not start");
        ASIServiceArgs::useExamService(service.serviceURL());
        sql().ExecuteNonQuery("insert into course(icourseid,ccoursename) values(?,'会计')",
                              kCourse);
        loader.load(
            {{chapter(101, "01", "总论"), chapter(102, "02", "资产")},
             {{{"ioutlineid", 301},
               {"icourseid", kCourse},
               {"coutlinecode", "01"},
               {"coutlinename", "大纲"}}},
             {subject(1001, "题一"), subject(1002, "题二{图1}", "解析{图}"), subject(1003, "题三")},
             {{1002, "0_1", bytesOf("pic-q"), "png"}, {1002, "2", bytesOf("pic-a"), "png"}}});
    }
    ~ContentSyncTest() override { service.stop(); }

    void record(const std::string& call) {
        std::lock_guard<std::mutex> lock(mutex);
        calls.push_back(call);
    }
    std::vector<std::string> takeCalls() {
        std::lock_guard<std::mutex> lock(mutex);
        return std::exchange(calls, {});
    }
    std::size_t callsStarting(const std::string& prefix) {
        std::size_t n = 0;
        for (const std::string& c : takeCalls())
            n += c.rfind(prefix, 0) == 0 ? 1 : 0;
        return n;
    }
    std::vector<ContentItemSetReport> sync() {
        CourseContentSync::Options options;
        options.courseId = kCourse;
        return CourseContentSync::run(options);
    }
    std::string stored(const std::string& column, int subjectId) {
        return sql()
            .ExecuteScalarString("select " + column + " from coursesubject where isubjectid=?",
                                 subjectId)
            .value_or("(null)");
    }
    std::string plain(const std::string& column, int subjectId) {
        return ContentCipher::decipher(stored(column, subjectId)).value_or("(bad)");
    }
    std::string folder() {
        return CommonSetting::ImagePath() + "/" + std::to_string(kCourse) + "/";
    }

    ReferenceService service;
    ContentStore content;
    CourseContentLoader loader;
    std::mutex mutex;  // guards what follows, shared with the service's threads
    std::vector<std::string> calls;
    bool picturesFail = false;
    std::optional<Dict> scriptedPicture;
};

TEST_F(ContentSyncTest, FirstSyncAsksFromNeverAndASecondSyncFetchesNothing) {
    std::vector<ContentItemSetReport> first = sync();
    EXPECT_EQ(
        takeCalls(),
        (std::vector<std::string>{
            "LoadNewCourseChapter_HadDistrice 2000-01-01", "LoadNewCourseOutline 2000-01-01",
            "LoadNewCourseSubjectGroup_HadDistrict 2000-01-01", "LoadSubjectImageList 1002"}));
    const std::size_t listed[] = {2, 1, 3};
    for (const ContentItemSetReport& r : first) {
        EXPECT_TRUE(r.dateStored);
        EXPECT_EQ(r.listed, listed[static_cast<int>(r.itemSet)]);
        EXPECT_EQ(r.written, r.listed);
        EXPECT_FALSE(r.storedDate.empty());
    }
    EXPECT_EQ(first[2].pictures, 2u);
    EXPECT_EQ(count("coursechapter", "icourseid=7 and bdownload=0"), 2);
    EXPECT_EQ(count("courseoutline"), 1);
    EXPECT_EQ(plain("ctitle", 1001), "题一");
    EXPECT_EQ(stored("cquestion", 1001), "A.甲 B.乙");

    for (const ContentItemSetReport& r : sync()) {
        EXPECT_EQ(r.listed, 0u);
        EXPECT_TRUE(r.dateStored);
        EXPECT_EQ(r.storedDate, first[static_cast<int>(r.itemSet)].storedDate);
    }
    EXPECT_EQ(callsStarting("LoadSubjectImageList"), 0u);
}

TEST_F(ContentSyncTest, PicturesGoWhereTheirPositionSaysAndQuotedTokensGetTheUrl) {
    loader.load({{},
                 {},
                 {subject(1004, "看图<img src=\"{图2}\"/>", "无记号"),
                  subject(1005, "file_dbpath/image/7/x.png 题", "见 file_dbpath/image/7/y.png")},
                 {{1004, "0_2", bytesOf("q2"), "jpg"}, {1004, "3", bytesOf("a3"), "gif"}}});
    sync();
    const std::string dir = folder();
    EXPECT_EQ(TempHome::readFile(dir + "1002_0_1.png"), "pic-q");
    EXPECT_EQ(TempHome::readFile(dir + "1002_2.png"), "pic-a");
    // Tail "0_1": the title's token "{图1}"; tail "2": the analysis' plain token "{图}".
    EXPECT_EQ(plain("ctitle", 1002),
              "题二<img border='0' alt='' src='file://" + dir + "1002_0_1.png'/>");
    EXPECT_EQ(plain("cdescription", 1002),
              "解析<img border='0' alt='' src='file://" + dir + "1002_2.png'/>");
    // A quoted token becomes the file URL; an analysis without a token gets the picture at its end.
    EXPECT_EQ(plain("ctitle", 1004), "看图<img src=\"file://" + dir + "1004_0_2.jpg\"/>");
    EXPECT_EQ(plain("cdescription", 1004),
              "无记号<img border='0' alt='' src='file://" + dir + "1004_3.gif'/>");
    EXPECT_EQ(plain("ctitle", 1005), "file://" + CommonSetting::ImagePath() + "/7/x.png 题");
    EXPECT_EQ(plain("cdescription", 1005), "见 file://" + CommonSetting::ImagePath() + "/7/y.png");
}

TEST_F(ContentSyncTest, UnchangedQuestionIsSkippedAndAChangedOneKeepsTheLearnersColumns) {
    sync();
    takeCalls();
    sql().ExecuteNonQuery(
        "update coursesubject set cmyanswer='B',bcollect=1,iwrong=2,cmaker='downloading' where "
        "isubjectid in (1001,1002)");
    loader.upsertRow("coursesubject", subject(1001, "题一改"));
    // The question changed on the service is fetched; the unchanged one with pictures is listed
    // again only because the whole item set is asked from an older date.
    sql().ExecuteNonQuery("update course set dsubjectchange='2000-01-01' where icourseid=?",
                          kCourse);
    CommonSetting::setDownloadSubjectType(1);
    std::vector<ContentItemSetReport> reports = sync();
    EXPECT_EQ(reports[2].written, 1u);
    EXPECT_EQ(reports[2].unchanged, 2u);
    EXPECT_EQ(callsStarting("LoadSubjectImageList"), 0u);
    EXPECT_EQ(plain("ctitle", 1001), "题一改");
    for (int id : {1001, 1002}) {
        EXPECT_EQ(stored("cmyanswer", id), "B");
        EXPECT_EQ(stored("bcollect", id), "1");
        EXPECT_EQ(stored("iwrong", id), "2");
        EXPECT_EQ(stored("cmaker", id), "");  // the placeholder mark goes either way
    }
}

TEST_F(ContentSyncTest, FailedPictureListLeavesTheQuestionToBeFetchedAgain) {
    picturesFail = true;
    std::vector<ContentItemSetReport> first = sync();
    EXPECT_EQ(first[2].failedBatches, 1u);
    EXPECT_FALSE(first[2].dateStored);
    EXPECT_EQ(first[2].storedDate, "");
    EXPECT_EQ(stored("dchangedate", 1002), "(null)");
    EXPECT_EQ(plain("ctitle", 1001), "题一");  // the rest of the batch is written

    picturesFail = false;
    takeCalls();
    std::vector<ContentItemSetReport> second = sync();
    EXPECT_TRUE(second[2].dateStored);
    EXPECT_EQ(second[2].pictures, 2u);
    EXPECT_EQ(callsStarting("LoadSubjectImageList"), 1u);
    EXPECT_TRUE(std::filesystem::exists(folder() + "1002_2.png"));
}

TEST_F(ContentSyncTest, HostileExtensionWritesNothingOutsideThePictureFolder) {
    const std::string outside = CommonSetting::ImagePath() + "/evil";
    const std::string hostile[] = {"/../../evil", "png/../../../evil", std::string(200, 'p')};
    for (const std::string& ext : hostile) {
        scriptedPicture = Dict{{"ctblname", "coursesubject2"},
                               {"csourceid", "1002"},
                               {"pimage", "aGk="},
                               {"cextname", ext}};
        sql().ExecuteNonQuery("delete from coursesubject");
        sql().ExecuteNonQuery("update course set dsubjectchange=null");
        LogCapture log;
        std::vector<ContentItemSetReport> reports = sync();
        EXPECT_TRUE(log.contains("save image error")) << ext;
        EXPECT_TRUE(reports[2].dateStored) << ext;
        EXPECT_EQ(reports[2].pictures, 0u) << ext;
        EXPECT_EQ(plain("cdescription", 1002), "解析{图}") << ext;
    }
    EXPECT_FALSE(std::filesystem::exists(outside));
    EXPECT_FALSE(std::filesystem::exists(CommonSetting::ImagePath() + "/../evil"));
}

TEST_F(ContentSyncTest, ChapterWriterUpdatesReplacesAndResolvesCodeClashes) {
    ClientDataExchange exchange;
    auto write = [&](const Dict& object) {
        CourseChapterEntity c;
        c.initWithDict(object);
        exchange.downloadCourseChapterWithEntity(c);
    };
    write(chapter(101, "01", "总论"));
    sql().ExecuteNonQuery("update coursechapter set bdownload=1");
    write(chapter(101, "01", "总论改"));  // same id, code and type: updated in place
    EXPECT_EQ(count("coursechapter", "ichapterid=101 and cchaptername='总论改' and bdownload=1"),
              1);

    write(chapter(101, "05", "移动"));  // the id under another code: replaced, bdownload 0
    EXPECT_EQ(count("coursechapter", "ichapterid=101 and cchaptercode='05' and bdownload=0"), 1);

    // Code and type of a stored row with another id: the server's record survives in its place.
    sql().ExecuteNonQuery("update coursechapter set bdownload=1 where ichapterid=101");
    write(chapter(202, "05", "服务端"));
    EXPECT_EQ(count("coursechapter"), 1);
    EXPECT_EQ(count("coursechapter",
                    "ichapterid=202 and cchaptercode='05' and "
                    "cchaptername='服务端' and bdownload=1"),
              1);
    write(chapter(203, "05", "另一棵树", 1));  // another type is another chapter
    EXPECT_EQ(count("coursechapter"), 2);

    CourseOutlineEntity outline;
    outline.initWithDict(Dict{{"ioutlineid", 1}, {"icourseid", kCourse}, {"coutlinecode", "01"}});
    exchange.downloadCourseOutlineWithEntity(outline);
    outline.initWithDict(Dict{{"ioutlineid", 2}, {"icourseid", kCourse}, {"coutlinecode", "01"}});
    exchange.downloadCourseOutlineWithEntity(outline);
    EXPECT_EQ(count("courseoutline", "ioutlineid=2 and coutlinecode='01'"), 1);
    EXPECT_EQ(count("courseoutline"), 1);
}

TEST_F(ContentSyncTest, NewUpdateCheckAsksWithTheLatestStoredDate) {
    ClientDataExchange exchange;
    struct Case {
        const char* chapter;
        const char* subject;
        const char* outline;
        const char* asked;  // nullptr: answered true without asking
    };
    const Case cases[] = {
        {nullptr, "2026-01-01 00:00:00", "2026-01-01 00:00:00", nullptr},
        {"2026-01-01 00:00:00", "", "2026-01-01 00:00:00", nullptr},
        {"2026-03-01 00:00:00", "2026-02-01 00:00:00", "2026-01-01 00:00:00",
         "CheckCourseHadNewUpdate 0 2026-03-01 00:00:00"},
        {"2026-01-01 00:00:00", "2026-02-01 00:00:00", "2026-02-01 00:00:00",
         "CheckCourseHadNewUpdate 1 2026-02-01 00:00:00"},
        {"2026-01-01 00:00:00", "2026-01-01 00:00:00", "2026-02-01 00:00:00",
         "CheckCourseHadNewUpdate 2 2026-02-01 00:00:00"},
        {"2026-01-01 00:00:00", "2026-01-01 00:00:00", "",
         "CheckCourseHadNewUpdate 0 2026-01-01 00:00:00"},
    };
    for (const Case& c : cases) {
        sql().ExecuteNonQuery(
            "update course set dchapterchange=?,dsubjectchange=?,doutlinechange=? where "
            "icourseid=?",
            c.chapter ? Value(c.chapter) : Value(), c.subject, c.outline, kCourse);
        takeCalls();
        EXPECT_TRUE(exchange.checkCourseHadNewUpdate(kCourse, 0));
        EXPECT_EQ(takeCalls(),
                  c.asked ? std::vector<std::string>{c.asked} : std::vector<std::string>{});
    }
    EXPECT_TRUE(exchange.checkCourseHadNewUpdate(99, 0));
    EXPECT_EQ(takeCalls(), std::vector<std::string>{"CheckCourseHadNewUpdate 0 "});
}

TEST_F(ContentSyncTest, ServiceAnswersNewContentAndLongQuestionListsInCompactForm) {
    ContentStore::ChangeList none = content.changeList(2, kCourse, "", "2999-01-01 00:00:00");
    EXPECT_EQ(none.text, "[]");
    EXPECT_TRUE(content.hadNewUpdate(kCourse, ""));
    EXPECT_FALSE(content.hadNewUpdate(kCourse, "2999-01-01 00:00:00"));

    // Every other id: as many runs as questions, beyond the JSON form's limit.
    DictList many;
    for (int i = 0; i < 60; ++i)
        many.push_back(subject(5000 + 2 * i, "题"));
    many.push_back(subject(5119, "题"));  // 5118 and 5119 make one run
    loader.load({{}, {}, many, {}});
    sync();
    EXPECT_EQ(count("coursesubject", "isubjectid>=5000"), 61);
    EXPECT_EQ(content.changeList(2, kCourse, "", "2000-01-01").text.substr(0, 1), "1");
}

}  // namespace
}  // namespace examora
