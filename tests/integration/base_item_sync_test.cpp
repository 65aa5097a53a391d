// Base-item synchronisation and the launch-time online check against the reference service.
#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <sstream>

#include "app/common_setting.h"
#include "cli/sync_command.h"
#include "launch/app_delegate.h"
#include "platform/base64.h"
#include "platform/global_queue.h"
#include "platform/log.h"
#include "platform/main_queue.h"
#include "platform/notification_center.h"
#include "server/content_loader.h"
#include "server/reference_service.h"
#include "service/asi_service_args.h"
#include "support/store_test_fixture.h"
#include "sync/client_data_exchange.h"

namespace examora {
namespace {

using Names = std::vector<std::string>;

ServiceReply listReply(const std::string& method, const DictList& rows) {
    return ServiceReply::soapAnswer(method, ExamWebServiceUtil::rowsToJSON(rows).dump());
}

// A test home with the template database and the reference service in-process, the service
// defaults pointing at it. The server time, change list and row lists are answered from the
// service's store and recorded in order; a test may script one item's row list instead, and may
// hold the server-time calls until it releases them (they then answer with a fault).
class BaseItemSyncTest : public StoreTest {
  protected:
    BaseItemSyncTest()
        : service(ReferenceServiceOptions{home_.makeDirectory("service"), "127.0.0.1", 0}),
          loader(service.store()) {
        const ServiceStore* store = &service.store();
        service.dispatcher().add("GetServerTime", [this, store](const SoapRequest&) {
            std::unique_lock<std::mutex> lock(record("GetServerTime"));
            if (!holding) return ServiceReply::soapAnswer("GetServerTime", store->now());
            ++held;
            changed.notify_all();
            changed.wait(lock, [this] { return !holding; });
            return ServiceReply::soapFault("the service is going down");
        });
        service.dispatcher().add("LoadRemoteBaseItemChangeList", [this, store](const SoapRequest&) {
            record("LoadRemoteBaseItemChangeList");
            return listReply("LoadRemoteBaseItemChangeList", store->baseItemChangeList());
        });
        service.dispatcher().add("LoadBaseItemUpdateNewData", [this, store](const SoapRequest& r) {
            const std::string item = r.text("itemName");
            std::unique_lock<std::mutex> lock(record("LoadBaseItemUpdateNewData " + item));
            if (scripted.contains(item)) return scripted.at(item);
            auto rows = store->baseItemRowsSince(item, r.text("lastUpdateDate"), std::nullopt);
            return listReply("LoadBaseItemUpdateNewData", rows.value_or(DictList{}));
        });
        if (!service.start()) throw std::runtime_error("the reference service did not start");
        ASIServiceArgs::useExamService(service.serviceURL());
    }
    ~BaseItemSyncTest() override {
        release();
        service.stop();
    }

    std::mutex& record(const std::string& call) {
        std::lock_guard<std::mutex> lock(mutex);
        calls.push_back(call);
        return mutex;
    }
    void release() {
        std::lock_guard<std::mutex> lock(mutex);
        holding = false;
        changed.notify_all();
    }

    // One run of a fresh exchange, as the downloader makes it.
    std::optional<Names> run() {
        ClientDataExchange exchange;
        std::optional<Names> names = exchange.downloadBaseItem();
        results = exchange.baseItemResults();
        return names;
    }
    // The keys of a table's rows, in key order, as one text.
    std::string keys(const std::string& table, const std::string& key) {
        return sql()
            .ExecuteScalarString("select group_concat(k, ' ') from (select " + key + " as k from " +
                                 table + " order by " + key + ")")
            .value_or("");
    }
    std::optional<std::string> localDate(const std::string& item) {
        return sql().ExecuteScalarString(
            "select dupdatedate from sys_serverexchangeitem where citemname=?", item);
    }
    std::string serverDate(const std::string& item) {
        for (const Dict& entry : service.store().baseItemChangeList())
            if (entry.get("citemname").asString() == item)
                return entry.get("dupdatedate").asString();
        return {};
    }
    void putClass(int id, const std::string& name, int stopflag = 0) {
        loader.upsertRow("courseclass",
                         {{"iclassid", id}, {"ccoursecname", name}, {"bstopflag", stopflag}});
    }

    ReferenceService service;
    ContentLoader loader;
    std::vector<BaseItemResult> results;
    std::mutex mutex;  // guards what follows, shared with the service's threads
    std::condition_variable changed;
    std::vector<std::string> calls;
    std::map<std::string, ServiceReply> scripted;
    bool holding = false;
    int held = 0;
};

TEST_F(BaseItemSyncTest, ChangeListDecidesWhatIsFetched) {
    putClass(1, "会计");
    loader.upsertRow("sys_message", {{"cmsgid", "7"}, {"cmsgtitle", "news"}});
    // An item the local store has no row for is never fetched, however new.
    sql().ExecuteNonQuery("delete from sys_serverexchangeitem where citemname='sys_message'");

    // Never downloaded: everything is fetched, and a local row the service lacks is not swept.
    sql().ExecuteNonQuery("insert into courseclass(iclassid,ccoursecname) values(9,'local')");
    ASSERT_EQ(run(), Names{"courseclass"});
    EXPECT_FALSE(results.at(0).fullReload);
    EXPECT_EQ(keys("courseclass", "iclassid"), "1 9");
    EXPECT_EQ(localDate("courseclass"), serverDate("courseclass"));
    EXPECT_EQ(count("sys_message"), 0);

    EXPECT_EQ(run(), Names{});  // equal dates: nothing is asked for again
}

TEST_F(BaseItemSyncTest, DeletionOnTheServiceReloadsTheItemWholeAndSweeps) {
    putClass(1, "会计");
    putClass(2, "建造");
    loader.upsertRow("district", {{"cdccode", "330000"}, {"cdcname", "浙江"}, {"cmemo", "east"}});
    loader.upsertRow("district", {{"cdccode", "110000"}, {"cdcname", "北京"}});
    loader.upsertRow("sys_cussetting", {{"cname", "a"}, {"cvalue", "1"}});
    loader.upsertRow("sys_cussetting", {{"cname", "b"}, {"cvalue", "2"}});
    sql().ExecuteNonQuery("insert into district(cdccode,cmemo) values('990000','local')");
    ASSERT_TRUE(run());

    // Incremental: a stopped class is stored with its flag.
    putClass(3, "停用", 1);
    ASSERT_EQ(run(), Names{"courseclass"});
    EXPECT_EQ(count("courseclass", "iclassid=3 and bstopflag=1"), 1);

    loader.deleteRow("courseclass", {{"iclassid", 2}});
    loader.deleteRow("district", {{"cdccode", "110000"}});
    loader.deleteRow("sys_cussetting", {{"cname", "b"}});
    ASSERT_EQ(run(), (Names{"courseclass", "district", "sys_cussetting"}));
    for (const BaseItemResult& r : results)
        EXPECT_TRUE(r.fullReload && r.written) << r.itemname;
    // Rows the service no longer sends go, and so does a row it sends already stopped.
    EXPECT_EQ(keys("courseclass", "iclassid"), "1");
    EXPECT_EQ(keys("district", "cdccode"), "330000");
    EXPECT_EQ(keys("sys_cussetting", "cname"), "a");
    EXPECT_EQ(sql().ExecuteScalarString("select cmemo from district"), "east");
}

TEST_F(BaseItemSyncTest, RowListOutcomeDecidesTheStoredDate) {
    putClass(1, "会计");
    ASSERT_TRUE(run());
    const std::string stored = *localDate("courseclass");
    struct Case {
        const char* what;
        ServiceReply reply;
        bool advances;
    };
    const Case cases[] = {
        {"fault", ServiceReply::soapFault("busy"), false},
        {"not a list", ServiceReply::soapAnswer("LoadBaseItemUpdateNewData", "{\"a\":1}"), false},
        {"empty list", ServiceReply::soapAnswer("LoadBaseItemUpdateNewData", "[]"), true},
        {"null result", ServiceReply::soapAnswer("LoadBaseItemUpdateNewData", std::nullopt), true},
    };
    for (const Case& c : cases) {
        sql().ExecuteNonQuery("update sys_serverexchangeitem set dupdatedate=? where id=1", stored);
        putClass(1, std::string("renamed ") + c.what);
        scripted["courseclass"] = c.reply;
        ASSERT_EQ(run(), Names{"courseclass"}) << c.what;
        EXPECT_EQ(localDate("courseclass"), c.advances ? serverDate("courseclass") : stored)
            << c.what;
        EXPECT_EQ(sql().ExecuteScalarString("select ccoursecname from courseclass"), "会计")
            << c.what;
    }
}

TEST_F(BaseItemSyncTest, StatementFailingMidItemLeavesTheItemUntouched) {
    for (int id : {1, 2, 3}) {
        loader.upsertRow("course", {{"icourseid", id}, {"iclassid", 1}, {"ccoursename", "c"}});
    }
    putClass(1, "会计");
    ASSERT_TRUE(
        sql().ExecuteNonQuery("create trigger planted before insert on course when new.icourseid=2 "
                              "begin select raise(abort,'planted failure'); end"));
    LogCapture log;
    ASSERT_EQ(run(), (Names{"courseclass", "course"}));
    EXPECT_TRUE(log.contains("download course error:SQLite")) << log.lines().back();
    EXPECT_EQ(count("course"), 0);
    EXPECT_EQ(localDate("course"), std::nullopt);
    EXPECT_EQ(localDate("courseclass"), serverDate("courseclass"));  // other items go on

    // The next run tries again.
    sql().ExecuteNonQuery("drop trigger planted");
    ASSERT_EQ(run(), Names{"course"});
    EXPECT_EQ(keys("course", "icourseid"), "1 2 3");
}

TEST_F(BaseItemSyncTest, OlderCourseTableGetsItsLateColumns) {
    sql().ExecuteNonQuery("drop table course");
    sql().ExecuteNonQuery(
        "create table course (icourseid integer primary key, iclassid integer, isubclassid "
        "integer, ccoursename text, iindex integer, bstopflag integer, bdistrict integer, "
        "dchangedate text, dcreatedate text)");
    loader.upsertRow("course",
                     {{"icourseid", 5}, {"cexamdate", "2027-05-20"}, {"ctypscount", "0:40"}});
    ASSERT_EQ(run(), Names{"course"});
    EXPECT_EQ(sql().ExecuteScalarString("select cexamdate||'|'||ctypscount from course"),
              "2027-05-20|0:40");
}

TEST_F(BaseItemSyncTest, ClassPictureFollowsTheService) {
    const std::string png = base64Encode(std::string_view("\x89PNG"));
    putClass(1, "会计");
    loader.upsertRow(
        "sys_tableimage",
        {{"ctblname", "courseclass"}, {"csourceid", "1"}, {"pimage", png}, {"cextname", "png"}});
    ASSERT_TRUE(run());
    EXPECT_EQ(count("sys_tableimage", "csourceid='1' and length(pimage)=4 and cextname='png'"), 1);

    // The service drops the picture: the class comes back with a picture record without bytes.
    loader.deleteRow("sys_tableimage", {{"ctblname", "courseclass"}, {"csourceid", "1"}});
    putClass(1, "会计 2");
    ASSERT_TRUE(run());
    EXPECT_EQ(count("sys_tableimage"), 0);
}

// The launch: the check runs in the background after the first screen is chosen, and only a
// service that answers gets the download.
class LaunchSyncTest : public BaseItemSyncTest, LaunchScreens {
  protected:
    LaunchSyncTest() {
        token = NotificationCenter::defaultCenter().addObserver(
            BaseItemDownloader::kDownloadedNotification, [this](const Notification&) {
                ++notified;
                onMainQueue = MainQueue::shared().isCurrent();
            });
    }
    ~LaunchSyncTest() override { NotificationCenter::defaultCenter().removeObserver(token); }

    bool launch() {
        LaunchOptions options;
        options.serviceUrl = service.serviceURL();
        return delegate.application(options);
    }
    void setupMainViewController() override {}
    void setupCourseSelectViewController() override {}

    AppDelegate delegate{*this};
    NotificationCenter::Token token = 0;
    int notified = 0;
    bool onMainQueue = false;
};

TEST_F(LaunchSyncTest, ServiceThatDoesNotAnswerGetsNoDownload) {
    holding = true;
    LogCapture log;
    ASSERT_TRUE(launch());
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [this] { return held > 0; });
    }
    // The launch has chosen its screen while the check is still waiting for the service.
    EXPECT_EQ(delegate.firstScreen(), AppDelegate::FirstScreen::CourseSelection);
    EXPECT_TRUE(CommonSetting::IsOnline());

    release();
    GlobalQueue::waitUntilIdle();
    MainQueue::shared().runUntilIdle();
    EXPECT_FALSE(CommonSetting::IsOnline());
    EXPECT_EQ(calls, Names{"GetServerTime"});
    EXPECT_EQ(notified, 0);
    EXPECT_TRUE(log.contains("NET STATUS:OFFLINE"));
    EXPECT_TRUE(log.contains("checkonline is finished"));
}

TEST_F(LaunchSyncTest, AnsweringServiceGetsOneDownloadAfterTheCheck) {
    loader.upsertRow("courseclass", {{"iclassid", 1}, {"ccoursecname", "会计"}});
    ASSERT_TRUE(launch());
    GlobalQueue::waitUntilIdle();
    EXPECT_EQ(notified, 0);  // delivered on the main queue only
    MainQueue::shared().runUntilIdle();
    EXPECT_EQ(calls, (Names{"GetServerTime", "LoadRemoteBaseItemChangeList",
                            "LoadBaseItemUpdateNewData courseclass"}));
    EXPECT_EQ(notified, 1);
    EXPECT_TRUE(onMainQueue);
    EXPECT_EQ(count("courseclass"), 1);
}

TEST_F(BaseItemSyncTest, SyncCommandReportsEachItemOrWhyItCannotRun) {
    loader.upsertRow("district", {{"cdccode", "330000"}, {"cdcname", "浙江"}});
    SyncCommand::Options options{home_.path(), service.serviceURL(), true, std::nullopt};
    std::ostringstream out, err;
    ASSERT_EQ(SyncCommand::run(options, out, err), 0) << err.str();
    EXPECT_NE(out.str().find("district: 1 rows, incremental\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("state: district " + serverDate("district")), std::string::npos);

    service.stop();
    CommonSetting::reset();
    std::ostringstream out2, err2;
    EXPECT_EQ(SyncCommand::run(options, out2, err2), 1);
    EXPECT_EQ(err2.str(), "examora: the exam service at " + service.serviceURL() +
                              " cannot be reached; nothing was downloaded\n");
}

}  // namespace
}  // namespace examora
