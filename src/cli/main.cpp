// The examora command line: the launch on the application home, the base-item sync, the account
// commands, or the browser interface (serve).
#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/account_commands.h"
#include "cli/download_command.h"
#include "cli/exchange_commands.h"
#include "cli/launch_command.h"
#include "cli/serve_command.h"
#include "cli/sync_command.h"

int main(int argc, char** argv) {
    CLI::App app{"Examora, an exam-preparation client"};
    examora::LaunchCommand::Options options;
    std::string home;
    std::string serviceUrl;
    app.add_option("--home", home,
                   "Application home (default: $EXAMORA_HOME, else "
                   "$XDG_DATA_HOME/examora)");
    app.add_option("--service-url", serviceUrl,
                   "Exam web service URL (default: $EXAMORA_SERVICE_URL)");
    app.add_flag("--quiet", options.quiet, "Do not log to standard error");

    examora::SyncCommand::Options syncOptions;
    std::string syncHome;
    std::string syncServiceUrl;
    CLI::App* sync = app.add_subcommand(
        "sync", "Launch, check the exam service and download the shared base items");
    sync->add_option("--home", syncHome, "Application home (as above)");
    sync->add_option("--service-url", syncServiceUrl,
                     "Exam web service URL (default: $EXAMORA_SERVICE_URL)");
    sync->add_flag("--quiet", syncOptions.quiet, "Do not log to standard error");
    int syncCourse = 0;
    sync->add_option("--course", syncCourse,
                     "Also bring this course's chapters, outline and questions up to date");

    examora::AccountCommands accounts(app);
    examora::ExchangeCommands exchange(app);
    examora::DownloadCommand download(app);
    examora::ServeCommand serve(app);
    CLI11_PARSE(app, argc, argv);
    if (serve.parsed()) return serve.run(std::cout, std::cerr);
    if (sync->parsed()) {
        if (sync->count("--home") > 0) syncOptions.home = syncHome;
        if (sync->count("--service-url") > 0) syncOptions.serviceUrl = syncServiceUrl;
        if (sync->count("--course") > 0) syncOptions.course = syncCourse;
        return examora::SyncCommand::run(syncOptions, std::cout, std::cerr);
    }
    if (accounts.parsed()) return accounts.run(std::cin, std::cout, std::cerr);
    if (exchange.parsed()) return exchange.run(std::cout, std::cerr);
    if (download.parsed()) return download.run(std::cout, std::cerr);
    if (app.count("--home") > 0) options.home = home;
    if (app.count("--service-url") > 0) options.serviceUrl = serviceUrl;
    return examora::LaunchCommand::run(options, std::cout, std::cerr);
}
