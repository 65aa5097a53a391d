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
        // Also bring this course's chapters, outline and questions up to date.
        std::optional<int> course;
    };

    // Prints the first screen, one line per item downloaded ("<name>: <rows> rows, full reload"
    // or "..., incremental", or why it failed) and the stored date of every base item, and
    // returns 0. Returns 1 with one line on err when the launch fails, when the service cannot
    // be reached, or when an item could not be downloaded. With a course, then one line per
    // content item set ("<set>: <n> listed, <n> written, <n> pictures, date <stored date>");
    // an item set left incomplete also makes it return 1.
    static int run(const Options& options, std::ostream& out, std::ostream& err);
};

}  // namespace examora
