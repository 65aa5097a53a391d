// SyncCommand: runs the launch with its online check and base-item download, and reports them.
#include "cli/sync_command.h"

#include <mutex>
#include <ostream>
#include <vector>

#include "app/common_setting.h"
#include "cli/launched_session.h"
#include "launch/app_delegate.h"
#include "platform/log.h"
#include "platform/paths.h"
#include "store/sqlite_helper.h"
#include "sync/client_data_exchange.h"
#include "sync/course_content_sync.h"

namespace examora {

namespace {

class ConsoleScreens : public LaunchScreens {
  public:
    void setupMainViewController() override {}
    void setupCourseSelectViewController() override {}
};

void printItem(std::ostream& out, const BaseItemResult& r) {
    out << r.itemname << ": ";
    if (!r.delivered) {
        out << "failed, the service did not deliver its rows; its date stays\n";
    } else if (!r.written) {
        out << "failed, the rows could not be stored; nothing of it was written\n";
    } else {
        out << r.rows << " rows, " << (r.fullReload ? "full reload" : "incremental") << "\n";
    }
}

// The stored change date of every base item: where the next run starts.
void printState(std::ostream& out) {
    SQLiteHelper db;
    db.OpenDataBase();
    std::unique_ptr<SqliteResultSet> rs = db.ExecuteDataReader(
        "select citemname, dupdatedate from sys_serverexchangeitem order by id");
    while (rs && rs->next()) {
        out << "state: " << rs->stringForColumnIndex(0).value_or("") << " "
            << rs->stringForColumnIndex(1).value_or("never") << "\n";
    }
    if (rs) rs->close();
    db.CloseDataBase();
}

// One course's content, item set after item set; the number of item sets left incomplete.
int syncCourse(int courseId, std::ostream& out) {
    static const char* const kNames[] = {"chapters", "outline", "questions"};
    CourseContentSync::Options options;
    options.courseId = courseId;
    options.district = CommonSetting::District();
    int incomplete = 0;
    for (const ContentItemSetReport& r : CourseContentSync::run(options)) {
        out << "course " << courseId << " " << kNames[static_cast<int>(r.itemSet)] << ": ";
        if (!r.listDelivered) {
            out << "failed, the service did not deliver the change list; ";
        } else {
            out << r.listed << " listed, " << r.written << " written, " << r.pictures
                << " pictures, ";
            if (!r.dateStored) out << r.failedBatches << " batch(es) incomplete, ";
        }
        out << "date " << (r.storedDate.empty() ? "never" : r.storedDate) << "\n";
        if (!r.dateStored) ++incomplete;
    }
    return incomplete;
}

}  // namespace

int SyncCommand::run(const Options& options, std::ostream& out, std::ostream& err) {
    if (options.quiet) setLogQuiet(true);
    if (options.home) Paths::setHome(*options.home);

    std::mutex mutex;
    std::optional<std::vector<BaseItemResult>> results;
    LaunchOptions launch;
    launch.serviceUrl = LaunchOptions::serviceUrlFrom(options.serviceUrl);
    launch.baseItemsDownloaded = [&](const std::vector<BaseItemResult>& r) {
        std::lock_guard<std::mutex> hold(mutex);
        results = r;
    };
    ConsoleScreens screens;
    AppDelegate delegate(screens);
    std::string failure;
    const bool launched = launchSettled(delegate, launch, failure);

    if (!failure.empty() || !launched) {
        err << "examora: launch failed: "
            << (failure.empty() ? "cannot install the database in " + Paths::home() + "/documents"
                                : failure)
            << "\n";
        return 1;
    }
    if (launch.serviceUrl.empty()) {
        err << "examora: no exam service given: use --service-url URL or set "
               "EXAMORA_SERVICE_URL\n";
        return 1;
    }
    if (!CommonSetting::IsOnline()) {
        err << "examora: the exam service at " << launch.serviceUrl
            << " cannot be reached; nothing was downloaded\n";
        return 1;
    }

    std::lock_guard<std::mutex> hold(mutex);
    out << "first screen: "
        << (delegate.firstScreen() == AppDelegate::FirstScreen::Main ? "main" : "course selection")
        << "\n";
    int failed = 0;
    if (results) {
        for (const BaseItemResult& r : *results) {
            printItem(out, r);
            if (!r.written) ++failed;
        }
    }
    printState(out);
    const int incomplete = options.course ? syncCourse(*options.course, out) : 0;
    if (incomplete > 0) {
        err << "examora: " << incomplete
            << " content item set(s) are incomplete; they are fetched again next time\n";
    }
    if (failed > 0) {
        err << "examora: " << failed
            << " base item(s) could not be downloaded; they are tried again next time\n";
        return 1;
    }
    return incomplete > 0 ? 1 : 0;
}

}  // namespace examora
