#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace examora {

// The command line's "download [--course N] [--rebuild]": brings a course's content onto the
// device as the application does (the whole package for a new or rebuilt course, else the
// changed item sets), behind a progress bar on the terminal that shows the phase and the
// percentage. Ctrl-C stops it through the download's stop flag: what was stored stays, and an
// interrupted item set keeps its date for the next run.
class DownloadCommand {
  public:
    explicit DownloadCommand(CLI::App& app);
    bool parsed() const;
    // 0 when the download completed; 1 when it failed (the reason on err) or was stopped.
    int run(std::ostream& out, std::ostream& err);

  private:
    CLI::App* command_ = nullptr;
    std::string home_;
    std::string serviceUrl_;
    bool rebuild_ = false;
    int course_ = 0;
};

}  // namespace examora
