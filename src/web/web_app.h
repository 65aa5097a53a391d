#pragma once

#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "launch/launch_screens.h"

namespace examora {

class PageStore;
class ReferenceService;
class UserAccountActions;
class WebServer;
class WebTab;
class WebTimer;
struct WebContext;

// `examora serve`: the whole program behind the browser interface. Unless given a service URL it
// starts the reference exam service embedded (its own loopback port, its store in the home's
// "service" folder, the demo course loaded), runs the launch sequence against it, and serves
// the interface. Tabs live on the main queue, which runs on a thread of its own.
class WebApp : public LaunchScreens {
  public:
    struct Options {
        std::optional<std::string> home;
        std::optional<std::string> serviceUrl;
        int port = 0;
        std::string listenAddress = "127.0.0.1";
        bool quiet = false;
    };

    WebApp();
    ~WebApp() override;
    WebApp(const WebApp&) = delete;
    WebApp& operator=(const WebApp&) = delete;

    // Starts everything; false (with one line on err) when something could not start.
    bool start(const Options& options, std::ostream& err);
    // "http://127.0.0.1:<port>/<token>/".
    std::string address() const;
    // Closes every tab and stops the servers, the service and the main queue.
    void stop();

    // The command: starts, prints the address as its first line, serves until SIGINT or SIGTERM
    // (which the caller has blocked before any thread started), stops. 0, or 1 when it could not
    // start.
    static int serve(const Options& options, std::ostream& out, std::ostream& err);

    void setupMainViewController() override {}
    void setupCourseSelectViewController() override {}

  private:
    bool startService(std::ostream& err);

    std::unique_ptr<ReferenceService> service_;
    std::unique_ptr<WebTimer> timer_;
    std::unique_ptr<PageStore> pages_;
    std::unique_ptr<UserAccountActions> accounts_;
    std::unique_ptr<WebContext> context_;
    std::unique_ptr<WebServer> server_;
    std::map<int, std::unique_ptr<WebTab>> tabs_;  // main queue only
    int nextTab_ = 1;
    bool started_ = false;
};

}  // namespace examora
