#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace examora {

// The command line's "sync": the launch, its online check and the base-item download, all
// awaited in the foreground, then a report of what was downloaded.
class SyncCommand {
  public:
    struct Options {
        std::optional<std::string> home;
        std::optional<std::string> serviceUrl;
        bool quiet = false;
    };

    // Prints the first screen, one line per item downloaded ("<name>: <rows> rows, full reload"
    // or "..., incremental", or why it failed) and the stored date of every base item, and
    // returns 0. Returns 1 with one line on err when the launch fails, when the service cannot
    // be reached, or when an item could not be downloaded.
    static int run(const Options& options, std::ostream& out, std::ostream& err);
};

}  // namespace examora
