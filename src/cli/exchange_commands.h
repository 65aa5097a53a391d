#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace examora {

// The learner-data subcommands of the command line: "upload [--clear]" sends the queued notes
// and reports and the current course's changed answers and papers; "download-history" merges
// the learner's answers, papers and notes from the service. Each launches on the application
// home as the plain command does, needs a logged-in learner ("examora login"), and prints what
// went up or came down.
class ExchangeCommands {
  public:
    // Adds the subcommands to the application.
    explicit ExchangeCommands(CLI::App& app);

    // Whether one of the subcommands was given.
    bool parsed() const;
    // Runs the subcommand given; 0 when every call reached the service and everything received
    // was stored, 1 otherwise (the reason on err; what was not sent is sent next time).
    int run(std::ostream& out, std::ostream& err);

  private:
    CLI::App* upload_ = nullptr;
    CLI::App* download_ = nullptr;
    std::string home_;
    std::string serviceUrl_;
    bool quiet_ = false;
    bool clear_ = false;
};

}  // namespace examora
