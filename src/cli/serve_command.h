#pragma once

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <string>

namespace examora {

// `examora serve`: the browser interface, with the reference exam service embedded unless a
// service URL is given.
class ServeCommand {
  public:
    explicit ServeCommand(CLI::App& app);

    bool parsed() const;
    // Blocks SIGINT and SIGTERM (before any thread starts), serves until one arrives.
    int run(std::ostream& out, std::ostream& err) const;

  private:
    CLI::App* command_;
    std::string home_;
    std::string serviceUrl_;
    std::string listen_ = "127.0.0.1";
    int port_ = 0;
    bool quiet_ = false;
};

}  // namespace examora
