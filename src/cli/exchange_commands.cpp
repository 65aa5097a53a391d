// ExchangeCommands: examora upload and download-history.
#include "cli/exchange_commands.h"

#include "cli/launched_session.h"

#include <CLI/CLI.hpp>
#include <ostream>

#include "app/common_setting.h"
#include "facade/data_exchange_screen.h"
#include "sync/client_data_exchange.h"

namespace examora {

namespace {

void printUpload(const UploadReport& r, int courseId, std::ostream& out) {
    out << "tasks: " << r.tasksSent << " sent, " << r.tasksDropped << " dropped, " << r.tasksKept
        << " kept for next time\n";
    if (r.cleared) out << "answer history on the service cleared\n";
    out << "answers of course " << courseId << ": " << r.answers << " in " << r.answerCalls
        << " call(s)" << (r.answersDelivered ? "" : ", the rest not delivered") << "\n";
    out << "papers of course " << courseId << ": " << r.papers
        << (r.papersDelivered ? "" : ", the rest not delivered") << "\n";
}

void printHistory(const HistoryReport& r, std::ostream& out) {
    out << "answers: " << r.answers << " question(s) updated"
        << (r.answersDelivered ? (r.answersWritten ? "" : ", could not be stored")
                               : ", not delivered")
        << "\n";
    out << "papers: " << r.papersAdded << " added, " << r.papersUpdated << " updated"
        << (r.papersDelivered ? "" : ", not delivered");
    if (r.papersFailed > 0) out << ", " << r.papersFailed << " could not be stored";
    out << "\n";
    out << "notes: " << r.notesAdded << " added"
        << (r.notesDelivered ? (r.notesWritten ? "" : ", could not be stored") : ", not delivered")
        << "\n";
}

}  // namespace

ExchangeCommands::ExchangeCommands(CLI::App& app) {
    upload_ = app.add_subcommand(
        "upload", "Send the queued notes and reports and the course's changed answers and papers");
    upload_->add_flag("--clear", clear_,
                      "Clear the learner's answer history on the service first and send every "
                      "answer of the course");
    download_ = app.add_subcommand(
        "download-history", "Merge the learner's answers, papers and notes from the service");
    for (CLI::App* command : {upload_, download_}) {
        command->add_option("--home", home_, "Application home (as for the launch)");
        command->add_option("--service-url", serviceUrl_,
                            "Exam web service URL (default: $EXAMORA_SERVICE_URL)");
        command->add_flag("--quiet", quiet_, "Do not log to standard error");
    }
}

bool ExchangeCommands::parsed() const {
    return upload_->parsed() || download_->parsed();
}

int ExchangeCommands::run(std::ostream& out, std::ostream& err) {
    return runLaunched(home_, serviceUrl_, quiet_, err, [&] {
        if (CommonSetting::LoginUserId() < 1) {
            err << DataExchangeScreen::kLoginFirst << "\n";
            return 1;
        }
        ClientDataExchange exchange;
        bool delivered = false;
        if (upload_->parsed()) {
            const int courseId = CommonSetting::CourseId();
            exchange.uploadUserDataToServer(CommonSetting::LoginUserId(), courseId, clear_,
                                            CommonSetting::DeviceId());
            printUpload(exchange.lastUploadReport(), courseId, out);
            delivered = exchange.lastUploadReport().delivered();
        } else {
            exchange.downloadUserDataFromServer(CommonSetting::LoginUserId());
            printHistory(exchange.lastHistoryReport(), out);
            delivered = exchange.lastHistoryReport().delivered();
        }
        if (!delivered) err << DataExchangeScreen::kFailed << "\n";
        return delivered ? 0 : 1;
    });
}

}  // namespace examora
