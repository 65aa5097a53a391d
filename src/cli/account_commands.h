#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace CLI {
class App;
}

namespace examora {

// The account subcommands of the command line: "login NAME", "register", "logout" and "whoami".
// Each launches on the application home as the plain command does, then runs the account
// screen's own rules with the console standing in for the screen: fields come from the command
// line, messages go to standard error. Passwords are read from the terminal without echo, or as
// one line each from standard input when that is not a terminal; they are never printed.
class AccountCommands {
  public:
    // Adds the subcommands to the application.
    explicit AccountCommands(CLI::App& app);

    // Whether one of the subcommands was given.
    bool parsed() const;
    // Runs the subcommand given; 0 on success, 1 on failure (the reason on err).
    int run(std::istream& in, std::ostream& out, std::ostream& err);

  private:
    struct Common {
        std::string home;
        std::string serviceUrl;
        bool quiet = false;
    };
    void addCommon(CLI::App& command);

    CLI::App* login_ = nullptr;
    CLI::App* register_ = nullptr;
    CLI::App* logout_ = nullptr;
    CLI::App* whoami_ = nullptr;
    Common common_;
    std::string name_;
    std::string phone_;
    std::string email_;
    std::string district_;
};

}  // namespace examora
