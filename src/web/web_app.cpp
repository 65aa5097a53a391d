// WebApp: `examora serve`, the embedded service, the launch and the interface's servers.

#include "web/web_app.h"

#include <csignal>
#include <filesystem>
#include <future>
#include <ostream>

#include "app/common_setting.h"
#include "facade/api_manager.h"
#include "facade/user_account_actions.h"
#include "launch/app_delegate.h"
#include "platform/global_queue.h"
#include "platform/log.h"
#include "platform/main_queue.h"
#include "platform/paths.h"
#include "server/content_loader.h"
#include "server/reference_service.h"
#include "web/event_stream.h"
#include "web/page_store.h"
#include "web/web_context.h"
#include "web/web_routes.h"
#include "web/web_screen.h"
#include "web/web_server.h"
#include "web/web_tab.h"
#include "web/web_timer.h"

namespace examora {

namespace {

// How long the address waits for the launch's catalogue download from the embedded service, so
// that the first screen lists the courses at once.
constexpr auto kCatalogueWait = std::chrono::seconds(10);

}  // namespace

WebApp::WebApp() = default;

WebApp::~WebApp() {
    stop();
}

bool WebApp::startService(std::ostream& err) {
    ReferenceServiceOptions options;
    options.dataDir = Paths::home() + "/service";
    service_ = std::make_unique<ReferenceService>(options);
    // The demo course, loaded at every start: rows loaded again unchanged keep their change
    // dates, so a learner's device fetches only what a newer demo course changed.
    const std::filesystem::path demo = ContentLoader::demoFolder();
    if (!std::filesystem::is_directory(demo)) {
        err << "examora: no demo course at " << demo.string() << "\n";
        return false;
    }
    try {
        ContentLoader(service_->store()).loadFolder(demo);
    } catch (const std::exception& e) {
        err << "examora: the embedded service cannot load the demo course from " << demo.string()
            << ": " << e.what() << "\n";
        return false;
    }
    if (!service_->start()) {
        err << "examora: the embedded service cannot start in " << options.dataDir << "\n";
        return false;
    }
    return true;
}

bool WebApp::start(const Options& options, std::ostream& err) {
    if (options.quiet) setLogQuiet(true);
    if (options.home) Paths::setHome(*options.home);

    std::string serviceUrl = LaunchOptions::serviceUrlFrom(options.serviceUrl);
    const bool embedded = serviceUrl.empty();
    if (embedded) {
        if (!startService(err)) return false;
        serviceUrl = service_->serviceURL();
    }

    auto downloaded = std::make_shared<std::promise<void>>();
    LaunchOptions launch;
    launch.serviceUrl = serviceUrl;
    launch.baseItemsDownloaded = [downloaded](const std::vector<BaseItemResult>&) {
        try {
            downloaded->set_value();
        } catch (const std::future_error&) {
        }
    };
    AppDelegate delegate(*this);
    MainQueue& main = MainQueue::shared();
    main.start();
    started_ = true;
    bool launched = false;
    main.sync([&] { launched = delegate.application(launch); });
    if (!launched) {
        err << "examora: cannot install the database in " << Paths::home() << "/documents\n";
        return false;
    }
    if (embedded) downloaded->get_future().wait_for(kCatalogueWait);

    timer_ = std::make_unique<WebTimer>(main);
    pages_ = std::make_unique<PageStore>(Paths::resourceDirectory(), CommonSetting::ImagePath());
    accounts_ = std::make_unique<UserAccountActions>();
    context_ = std::make_unique<WebContext>(APIManager::sharedManager(), *accounts_, *pages_,
                                            *timer_, WebRoutes::make);

    WebServer::Handlers handlers;
    handlers.openTab = [this] {
        std::pair<int, std::shared_ptr<EventStream>> opened;
        MainQueue::shared().sync([&] {
            const int id = nextTab_++;
            auto tab = std::make_unique<WebTab>(id, *context_);
            WebTab& shown = *tab;
            opened = {id, tab->stream()};
            tabs_[id] = std::move(tab);
            shown.setRoot(WebRoutes::first(shown));
        });
        return opened;
    };
    handlers.closeTab = [this](int tabId) { postToMain([this, tabId] { tabs_.erase(tabId); }); };
    handlers.event = [this](int tabId, nlohmann::json event) {
        postToMain([this, tabId, event = std::move(event)] {
            const auto it = tabs_.find(tabId);
            if (it != tabs_.end()) it->second->dispatch(event);
        });
    };
    WebServer::Options serverOptions;
    serverOptions.listenAddress = options.listenAddress;
    serverOptions.port = options.port;
    serverOptions.assetDir = Paths::resourceDirectory() + "/web";
    server_ = std::make_unique<WebServer>(serverOptions, *pages_, std::move(handlers));
    if (!server_->start()) {
        err << "examora: cannot listen on " << options.listenAddress << "\n";
        return false;
    }
    return true;
}

std::string WebApp::address() const {
    return server_ ? server_->address() : std::string();
}

void WebApp::stop() {
    if (!started_) return;
    started_ = false;
    MainQueue& main = MainQueue::shared();
    // Closing the tabs ends their event streams, which the servers' workers are waiting on.
    main.sync([this] {
        for (auto& [id, tab] : tabs_)
            tab->closeAll();
    });
    if (server_) server_->stop();
    main.sync([this] { tabs_.clear(); });
    GlobalQueue::waitUntilIdle();
    timer_.reset();
    main.stop();
    if (service_) service_->stop();
}

int WebApp::serve(const Options& options, std::ostream& out, std::ostream& err) {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    WebApp app;
    if (!app.start(options, err)) return 1;
    out << app.address() << std::endl;
    int received = 0;
    sigwait(&signals, &received);
    app.stop();
    return 0;
}

}  // namespace examora
