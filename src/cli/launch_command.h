#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace examora {

// The command line's launch: runs the launch sequence on the main queue (driven by a runner
// thread), reports what it set up, and shuts the queues down cleanly.
class LaunchCommand {
  public:
    struct Options {
        std::optional<std::string> home;
        std::optional<std::string> serviceUrl;
        bool quiet = false;
    };

    // Prints "database: …", "pictures: …", "device: …" and "first screen: main" (or "course
    // selection") to out and returns 0; on a failed launch prints one line to err and returns 1.
    static int run(const Options& options, std::ostream& out, std::ostream& err);
};

}  // namespace examora
