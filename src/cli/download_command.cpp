// DownloadCommand: examora download, with a terminal progress bar.
#include "cli/download_command.h"

#include "cli/launched_session.h"

#include <CLI/CLI.hpp>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <ostream>

#include "app/common_setting.h"
#include "facade/subject_download_manager.h"
#include "launch/app_delegate.h"
#include "platform/global_queue.h"
#include "platform/log.h"
#include "platform/main_queue.h"
#include "platform/paths.h"
#include "sync/client_data_exchange.h"

namespace examora {

namespace {

// Set by SIGINT; a lock-free atomic store is safe in a signal handler.
std::atomic<bool> gInterrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void onInterrupt(int) {
    gInterrupted.store(true);
}

// The progress dialog as one terminal line: "<title> [#####     ]  42%".
class TerminalProgress : public ProgressDialogView, public DialogView {
  public:
    explicit TerminalProgress(std::ostream& out) : out_(out) {}
    void showProgress(const std::string& title, std::function<void()>) override {
        title_ = title;
        percent_ = 0;
        draw();
    }
    void setProgressTitle(const std::string& title) override {
        if (title != title_) out_ << "\n";
        title_ = title;
        percent_ = 0;
        draw();
    }
    void setProgress(double percent) override {
        percent_ = percent;
        draw();
    }
    void hideProgress() override { out_ << "\n" << std::flush; }
    void showDialog(const std::string& title, const std::string& message,
                    const std::vector<std::string>&, Choice onChoice) override {
        out_ << title << ": " << message << "\n" << std::flush;
        if (onChoice) onChoice(0);
    }

  private:
    void draw() {
        constexpr int kWidth = 30;
        const int filled = static_cast<int>(percent_ * kWidth / 100.0);
        out_ << "\r" << title_ << " [" << std::string(static_cast<std::size_t>(filled), '#')
             << std::string(static_cast<std::size_t>(kWidth - filled), ' ') << "] "
             << static_cast<int>(percent_) << "%" << std::flush;
    }
    std::ostream& out_;
    std::string title_;
    double percent_ = 0;
};

}  // namespace

DownloadCommand::DownloadCommand(CLI::App& app) {
    command_ = app.add_subcommand(
        "download", "Download the current (or given) course's questions, chapters and outline");
    command_->add_option("--home", home_, "Application home (as for the launch)");
    command_->add_option("--service-url", serviceUrl_,
                         "Exam web service URL (default: $EXAMORA_SERVICE_URL)");
    command_->add_option("--course", course_, "The course to download (default: the current one)");
    command_->add_flag("--rebuild", rebuild_, "Download the whole course again as one package");
}

bool DownloadCommand::parsed() const {
    return command_->parsed();
}

int DownloadCommand::run(std::ostream& out, std::ostream& err) {
    // The progress bar owns the terminal; log lines would break it.
    setLogQuiet(true);
    if (!home_.empty()) Paths::setHome(home_);
    LaunchOptions launch;
    launch.serviceUrl = LaunchOptions::serviceUrlFrom(
        serviceUrl_.empty() ? std::nullopt : std::optional<std::string>(serviceUrl_));
    HeadlessScreens screens;
    AppDelegate delegate(screens);
    TerminalProgress terminal(out);
    std::unique_ptr<SubjectDownloadManager> manager;

    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    int status = 1;
    MainQueue& main = MainQueue::shared();
    main.start();
    auto finish = [&](int code) {
        std::lock_guard<std::mutex> lock(mutex);
        status = code;
        done = true;
        ended.notify_all();
    };
    main.sync([&] {
        if (!delegate.application(launch)) {
            err << "examora: cannot install the database in " << Paths::home() << "/documents\n";
            finish(1);
            return;
        }
        if (command_->count("--course") > 0) CommonSetting::setCourseId(course_);
        const int courseId = CommonSetting::CourseId();
        ClientDataExchange exchange;
        auto known = [&] {
            return exchange.ExecuteScalarInt("select count(*) from course where icourseid=?",
                                             courseId) > 0;
        };
        // A fresh home knows no course yet: the catalogue comes first.
        if (courseId > 0 && !known()) exchange.downloadBaseItem();
        if (courseId < 1 || !known()) {
            err << "examora: no course " << courseId << " in the catalogue (give --course N)\n";
            finish(1);
            return;
        }
        manager = std::make_unique<SubjectDownloadManager>(terminal, terminal);
        manager->onFinished = [&](bool stopped, const std::string& failure) {
            if (stopped) err << "stopped\n";
            if (!failure.empty()) err << "examora: " << failure << "\n";
            finish(stopped || !failure.empty() ? 1 : 0);
        };
        manager->downloadSubject(rebuild_);
    });

    gInterrupted = false;
    auto previous = std::signal(SIGINT, onInterrupt);
    {
        std::unique_lock<std::mutex> lock(mutex);
        bool stopAsked = false;
        // The signal cannot wake a condition variable safely, so the flag is looked at often.
        while (!ended.wait_for(lock, std::chrono::milliseconds(100), [&] { return done; })) {
            if (gInterrupted && !stopAsked) {
                stopAsked = true;
                postToMain([&] {
                    if (manager) manager->stop();
                });
            }
        }
    }
    std::signal(SIGINT, previous);
    GlobalQueue::waitUntilIdle();
    main.sync([&] { manager.reset(); });
    main.stop();
    return status;
}

}  // namespace examora
