// ServeCommand: `examora serve`, the browser interface on loopback.

#include "cli/serve_command.h"

#include <csignal>
#include <ostream>

#include "web/web_app.h"

namespace examora {

ServeCommand::ServeCommand(CLI::App& app)
    : command_(app.add_subcommand(
          "serve", "Serve the interface in the browser (with an embedded exam service)")) {
    command_->add_option("--home", home_, "Application home (as above)");
    command_->add_option("--port", port_, "Port of the interface (default: a free one)");
    command_->add_option("--service-url", serviceUrl_,
                         "Exam web service URL (default: $EXAMORA_SERVICE_URL, else an embedded "
                         "reference service)");
    command_->add_option("--listen", listen_,
                         "Address to listen on (default 127.0.0.1; anything else exposes the "
                         "interface to that network)");
    command_->add_flag("--quiet", quiet_, "Do not log to standard error");
}

bool ServeCommand::parsed() const {
    return command_->parsed();
}

int ServeCommand::run(std::ostream& out, std::ostream& err) const {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    // Blocked before any thread starts, so every thread inherits the mask and sigwait sees them.
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    WebApp::Options options;
    if (command_->count("--home") > 0) options.home = home_;
    if (command_->count("--service-url") > 0) options.serviceUrl = serviceUrl_;
    options.port = port_;
    options.listenAddress = listen_;
    options.quiet = quiet_;
    return WebApp::serve(options, out, err);
}

}  // namespace examora
