// The learner-data exchange between two devices (two databases) and the reference service:
// task queue, answer and paper upload, history download, accounts kept apart.
#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>

#include "app/common_setting.h"
#include "engine/course_util.h"
#include "facade/api_manager.h"
#include "platform/date_time.h"
#include "server/account_store.h"
#include "server/learner_store.h"
#include "server/reference_service.h"
#include "service/asi_service_args.h"
#include "store/cus_setting_util.h"
#include "support/course_builder.h"
#include "support/temp_home.h"
#include "sync/client_data_exchange.h"

namespace examora {
namespace {

// The system transport, recording the method of every call; "down" refuses every call as an
// unreachable service would, and a hook may act just before a call goes out.
class RecordingTransport : public HttpTransport {
  public:
    HttpResponse perform(const HttpRequest& request) override {
        std::string method = findHeader(request.headers, "SOAPAction").value_or("");
        method = method.substr(method.rfind('/') + 1);
        if (!method.empty() && method.back() == '"') method.pop_back();
        {
            std::lock_guard<std::mutex> lock(mutex);
            calls.push_back(method);
        }
        if (beforeSend) beforeSend(method);
        if (down) return HttpResponse{0, std::string("connection refused"), {}, {}, 0, "UTF-8"};
        return system->perform(request);
    }
    int count(const std::string& method) {
        std::lock_guard<std::mutex> lock(mutex);
        return static_cast<int>(std::count(calls.begin(), calls.end(), method));
    }
    int uploads() {
        int n = 0;
        for (const char* m : {"UploadWriteNote", "UploadWriteError", "UploadSubjectHistory",
                              "UploadSimulationPaper", "ClearSubjectHistory"})
            n += count(m);
        return n;
    }

    std::shared_ptr<HttpTransport> system = HttpTransport::systemTransport();
    std::mutex mutex;
    std::vector<std::string> calls;
    bool down = false;
    std::function<void(const std::string&)> beforeSend;
};

struct Device {
    std::string db;
    std::string id;
};

constexpr int kCourse = 1;
constexpr const char* kOld = "2026-01-05 09:00:00";

class LearnerExchangeTest : public ::testing::Test {
  protected:
    LearnerExchangeTest() {
        if (!home.installTemplate()) throw std::runtime_error("no template database");
        a = {CommonSetting::DbPath(), "device-a"};
        b = {home.makeDirectory("device-b") + "/zxexam.db", "device-b"};
        std::filesystem::copy_file(a.db, b.db);
        service = std::make_unique<ReferenceService>(
            ReferenceServiceOptions{home.makeDirectory("service")});
        AccountStore accounts(service->store());
        learner = accounts.createAccount({"learner", "secret-1", {}, {}, {}, {}, {}});
        other = accounts.createAccount({"other", "secret-2", {}, {}, {}, {}, {}});
        learners = std::make_unique<LearnerStore>(service->store());
        if (!service->start()) throw std::runtime_error("the reference service did not start");
        ASIServiceArgs::useExamService(service->serviceURL());
        for (Device* d : {&a, &b}) {
            use(*d);
            CourseBuilder build;
            build.course(kCourse);
            const int chapter = build.chapters(kCourse, 0, {"01"})[0];
            NewSubject s;
            s.chapterId = chapter;
            subjects = build.subjects(6, s);
        }
        use(a);
    }
    ~LearnerExchangeTest() override {
        service->stop();
        ASIServiceArgs::resetDefaults();
    }

    // The device in hand, with `account` logged in.
    void use(const Device& d, long long account = 0) {
        CommonSetting::setDbPath(d.db);
        CommonSetting::setDeviceId(d.id);
        const long long id = account ? account : learner;
        CommonSetting::setLoginId(static_cast<int>(id));
        CommonSetting::setLoginUserName(id == learner ? "learner" : "other");
        CommonSetting::setCourseId(kCourse);
    }
    std::unique_ptr<ClientDataExchange> exchange() {
        auto util = std::make_unique<ExamWebServiceUtil>();
        util->setTransport(transport);
        return std::make_unique<ClientDataExchange>(std::move(util));
    }
    UploadReport upload(bool clear = false) {
        auto x = exchange();
        x->uploadUserDataToServer(CommonSetting::LoginUserId(), kCourse, clear,
                                  CommonSetting::DeviceId());
        return x->lastUploadReport();
    }
    HistoryReport download() {
        auto x = exchange();
        x->downloadUserDataFromServer(CommonSetting::LoginUserId());
        return x->lastHistoryReport();
    }
    void answer(int subjectId, const std::string& text) {
        db().ExecuteNonQuery(
            "update coursesubject set cmyanswer=?,bcorrect=1,imyscore=1,"
            "danswerdate=datetime('now','localtime') where isubjectid=?",
            text, subjectId);
    }
    // Moves every learner date of the device in hand into the past, as if written long ago.
    void age() {
        db().ExecuteNonQuery("update coursesubject set danswerdate=? where danswerdate is not null",
                             kOld);
        db().ExecuteNonQuery(
            "update simulationpaper set dcreatedate=?, dexamtime=case when "
            "dexamtime is null then null else ? end",
            kOld, kOld);
    }
    std::string scalar(const std::string& sql) {
        return db().ExecuteScalarString(sql, std::vector<Value>{}).value_or("");
    }
    int count(const std::string& sql) { return db().ExecuteScalarInt(sql, std::vector<Value>{}); }
    SQLiteHelper& db() {
        helper = std::make_unique<SQLiteHelper>();
        return *helper;
    }

    TempHome home;
    Device a, b;
    std::unique_ptr<ReferenceService> service;
    std::unique_ptr<LearnerStore> learners;
    std::shared_ptr<RecordingTransport> transport = std::make_shared<RecordingTransport>();
    std::unique_ptr<SQLiteHelper> helper;
    long long learner = 0, other = 0;
    std::vector<int> subjects;
};

TEST_F(LearnerExchangeTest, AnotherDeviceGetsAnswersPapersAndNotesOnceAndKeepsItsOwnPaper) {
    CourseUtil course;
    answer(subjects[0], "A");
    answer(subjects[1], "B");
    course.writeSubjectNote(subjects[0], "记住主体假设");
    const int changed = CourseBuilder().note(subjects[1], "初稿");
    course.modifySubjectNote(changed, "二稿");
    course.modifySubjectNote(changed, "定稿");
    EXPECT_EQ(count("select count(*) from sys_exchangeclienttask where cprimaryvalue='" +
                    std::to_string(changed) + "'"),
              1);
    course.writeSubjectError(subjects[2], 1, "答案应为B");
    const int paper = CourseBuilder().paper(kCourse, {subjects[0], subjects[1]}, 0, {"A", "C"});
    age();

    const UploadReport up = upload();
    EXPECT_TRUE(up.delivered());
    EXPECT_EQ(up.tasksSent, 3);
    EXPECT_EQ(up.answers, 2u);
    EXPECT_EQ(up.papers, 1);
    EXPECT_EQ(count("select count(*) from sys_exchangeclienttask"), 0);
    ASSERT_EQ(learners->reports("learner").size(), 1u);

    // Nothing changed: nothing goes up.
    transport->calls.clear();
    EXPECT_TRUE(upload().delivered());
    EXPECT_EQ(transport->uploads(), 0);

    use(b);
    const int own = CourseBuilder().paper(kCourse, {subjects[3]}, 0, {"D"});
    ASSERT_EQ(own, paper);  // the same local number and the same default name
    const std::string ownName = scalar("select cpapername from simulationpaper");
    for (int round = 0; round < 2; ++round) {
        const HistoryReport down = download();
        EXPECT_TRUE(down.delivered()) << round;
        EXPECT_EQ(scalar("select group_concat(cmyanswer,'') from (select cmyanswer from "
                         "coursesubject where cmyanswer<>'' order by isubjectid)"),
                  "AB");
        EXPECT_EQ(count("select count(*) from simulationpaper"), 2);
        EXPECT_EQ(scalar("select group_concat(cmyanswer,'') from simulationpaperdetail where "
                         "ipaperid=" +
                         std::to_string(own)),
                  "D");
        EXPECT_EQ(
            scalar("select cpapername from simulationpaper where ipaperid=" + std::to_string(own)),
            ownName);
        EXPECT_EQ(scalar("select group_concat(cmyanswer,'') from (select d.cmyanswer from "
                         "simulationpaperdetail d join simulationpaper p on p.ipaperid=d.ipaperid "
                         "where p.iserverpaperid>0 order by d.iindex)"),
                  "AC");
        EXPECT_EQ(scalar("select group_concat(cnotetext,'|') from (select cnotetext from "
                         "cs_writenote order by isubjectid)"),
                  "记住主体假设|定稿");
    }

    // The uploading device finds its own paper in place and takes the server's number.
    use(a);
    EXPECT_TRUE(download().delivered());
    EXPECT_EQ(count("select count(*) from simulationpaper"), 1);
    EXPECT_GT(count("select iserverpaperid from simulationpaper"), 0);
    EXPECT_EQ(count("select count(*) from simulationpaperdetail"), 2);
    EXPECT_EQ(count("select count(*) from cs_writenote"), 2);
}

TEST_F(LearnerExchangeTest, ClearResendsEveryAnswerAndEveryCourseStartsOver) {
    answer(subjects[0], "A");
    answer(subjects[1], "B");
    age();
    ASSERT_TRUE(upload().delivered());
    CusSettingUtil::setSettingValue("uploadsubjectdate2", "2026-01-01 00:00:00");
    learners->saveAnswers(learner, "elsewhere", {Dict{{"isubjectid", 999}, {"cmyanswer", "X"}}});

    transport->calls.clear();
    const UploadReport up = upload(true);
    EXPECT_TRUE(up.cleared);
    EXPECT_EQ(up.answers, 2u);
    ASSERT_GE(transport->calls.size(), 2u);
    const auto clearAt =
        std::find(transport->calls.begin(), transport->calls.end(), "ClearSubjectHistory");
    EXPECT_LT(clearAt,
              std::find(transport->calls.begin(), transport->calls.end(), "UploadSubjectHistory"));
    EXPECT_EQ(learners->answers(learner, "").size(), 2u);
    EXPECT_EQ(CusSettingUtil::getSettingValue("uploadsubjectdate2"), "");
}

TEST_F(LearnerExchangeTest, TwelveHundredAnswersGoUpInThreeCalls) {
    CourseBuilder build;
    NewSubject s;
    s.myanswer = "A";
    s.answerdate = kOld;
    build.subjects(1200 - 6, s);
    db().ExecuteNonQuery("update coursesubject set cmyanswer='A', danswerdate=?", kOld);
    const UploadReport up = upload();
    EXPECT_EQ(up.answerCalls, 3);
    EXPECT_EQ(transport->count("UploadSubjectHistory"), 3);
    EXPECT_EQ(learners->answers(learner, "").size(), 1200u);
}

TEST_F(LearnerExchangeTest, TasksWithoutARecordOrTableAreDroppedWithoutACall) {
    struct Case {
        const char* table;
        const char* id;
    };
    for (const Case& c :
         {Case{"sometable", "1"}, Case{"cs_writenote", "4711"}, Case{"CS_WRITEERROR", "abc"}}) {
        db().ExecuteNonQuery(
            "insert into sys_exchangeclienttask(cprimaryvalue,citemname,iaction,"
            "dchangedate) values (?,?,0,?)",
            c.id, c.table, kOld);
        transport->calls.clear();
        EXPECT_EQ(exchange()->uploadTaskToServer(), TaskSend::Dropped) << c.table;
        EXPECT_TRUE(transport->calls.empty()) << c.table;
        EXPECT_EQ(count("select count(*) from sys_exchangeclienttask"), 0) << c.table;
    }
}

TEST_F(LearnerExchangeTest, WithTheServiceDownTasksAndMarksStayUntilTheNextPass) {
    CourseUtil course;
    course.writeSubjectNote(subjects[0], "离线笔记");
    course.writeSubjectError(subjects[1], 0, "题目有错");
    answer(subjects[0], "A");
    age();

    transport->down = true;
    EXPECT_FALSE(upload().delivered());
    EXPECT_EQ(exchange()->uploadTaskToServer(), TaskSend::Kept);
    EXPECT_EQ(count("select count(*) from sys_exchangeclienttask"), 2);
    EXPECT_EQ(CusSettingUtil::getSettingValue("uploadsubjectdate1"), "");
    // The facade reports the pass as failed, not as done.
    ASIServiceArgs::setWebServiceURL("http://127.0.0.1:1/CL.ExamWebService/ExamJsonService.asmx");
    APIManager api;
    std::string failure;
    api.uploadUserDataToServer_willClear(
        false, [&](int, const ExamError* e) { failure = e ? e->reason() : ""; });
    EXPECT_EQ(failure, APIManager::kSyncFailed);
    ASIServiceArgs::setWebServiceURL(service->serviceURL());

    transport->down = false;
    const UploadReport up = upload();
    EXPECT_TRUE(up.delivered());
    EXPECT_EQ(up.tasksSent, 2);
    EXPECT_EQ(count("select count(*) from sys_exchangeclienttask"), 0);
    EXPECT_EQ(learners->notes("learner").size(), 1u);
    EXPECT_EQ(learners->answers(learner, "").size(), 1u);
}

TEST_F(LearnerExchangeTest, ANoteChangedWhileItWasSentKeepsItsTask) {
    CourseUtil course;
    course.writeSubjectNote(subjects[0], "第一版");
    const int note = count("select max(id) from cs_writenote");
    transport->beforeSend = [&](const std::string& method) {
        if (method != "UploadWriteNote") return;
        transport->beforeSend = nullptr;
        CourseUtil().modifySubjectNote(note, "第二版");
    };
    EXPECT_EQ(exchange()->uploadTaskToServer(), TaskSend::Kept);
    EXPECT_EQ(exchange()->uploadTaskToServer(), TaskSend::Sent);
    ASSERT_EQ(learners->notes("learner").size(), 1u);
    EXPECT_EQ(learners->notes("learner")[0].get("cnotetext").asString(), "第二版");
}

TEST_F(LearnerExchangeTest, AnAnswerGivenAfterAnUploadIsSentWithTheDeviceClockBehind) {
    service->setClock([] {
        return DateTime::fromEpochLocal(DateTime::nowLocal().toEpochLocal() + 3600).format();
    });
    answer(subjects[0], "A");
    ASSERT_TRUE(upload().delivered());
    answer(subjects[1], "B");
    ASSERT_TRUE(upload().delivered());
    EXPECT_EQ(learners->answers(learner, "").size(), 2u);
}

TEST_F(LearnerExchangeTest, AccountsNeverSeeOrChangeEachOthersRows) {
    answer(subjects[0], "A");
    CourseBuilder().paper(kCourse, {subjects[0]}, 0, {"A"});
    ASSERT_TRUE(upload().delivered());

    use(b, other);
    answer(subjects[1], "B");
    CourseUtil().writeSubjectNote(subjects[1], "别人的笔记");
    ASSERT_TRUE(upload(true).delivered());
    const HistoryReport down = download();
    EXPECT_TRUE(down.delivered());
    EXPECT_EQ(down.papersAdded, 0);
    EXPECT_EQ(count("select count(*) from coursesubject where cmyanswer='A'"), 0);
    EXPECT_EQ(learners->answers(learner, "").size(), 1u);
    EXPECT_EQ(learners->papers(learner, "").size(), 1u);
    EXPECT_TRUE(learners->notes("learner").empty());

    // An account the service does not hold stores nothing and gets nothing.
    use(b, 999);
    EXPECT_FALSE(upload(true).delivered());
    EXPECT_EQ(learners->answers(learner, "").size(), 1u);
    auto x = exchange();
    x->downloadSubjectHistory(999, "", "");
    x->downloadSimulationPaperHistory(999, "", "");
    EXPECT_EQ(x->lastHistoryReport().papersAdded, 0);
    EXPECT_TRUE(x->lastHistoryReport().answersDelivered);
}

TEST_F(LearnerExchangeTest, AWrongHeaderIsRefused) {
    answer(subjects[0], "A");
    ASIServiceArgs::setHeaderPassword("not-the-password");
    EXPECT_FALSE(upload().delivered());
    EXPECT_FALSE(download().delivered());
    EXPECT_TRUE(learners->answers(learner, "").empty());
}

}  // namespace
}  // namespace examora
