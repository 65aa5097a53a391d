// WebServer: the interface origin and the question-page origin over HTTP.

#include "web/web_server.h"

#include <httplib.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "platform/log.h"
#include "platform/text_util.h"
#include "web/event_stream.h"
#include "web/page_store.h"
#include "web/web_security.h"

namespace examora {

using nlohmann::json;

namespace {

// Enough workers for several tabs: each open event stream keeps one.
constexpr std::size_t kWorkers = 24;
constexpr auto kKeepAlive = std::chrono::seconds(15);

std::string mimeOf(const std::string& path) {
    static const std::vector<std::pair<std::string, std::string>> types{
        {".html", "text/html; charset=utf-8"},
        {".js", "text/javascript; charset=utf-8"},
        {".css", "text/css; charset=utf-8"},
        {".svg", "image/svg+xml"},
        {".png", "image/png"},
        {".jpg", "image/jpeg"},
        {".jpeg", "image/jpeg"},
        {".gif", "image/gif"},
        {".woff2", "font/woff2"},
        {".json", "application/json"}};
    for (const auto& [ext, type] : types) {
        if (endsWith(toLowerAscii(path), ext)) return type;
    }
    return "application/octet-stream";
}

bool sendFile(httplib::Response& res, const std::optional<std::filesystem::path>& file) {
    if (!file) return false;
    std::ifstream in(*file, std::ios::binary);
    if (!in) return false;
    std::ostringstream body;
    body << in.rdbuf();
    res.set_content(body.str(), mimeOf(file->string()).c_str());
    return true;
}

void refuse(httplib::Response& res, int status) {
    res.status = status;
    res.set_content(status == 403 ? "forbidden\n" : "not found\n", "text/plain; charset=utf-8");
}

// The rest of the path after "/<token>/"; nullopt when the path does not start so.
std::optional<std::string> underToken(const std::string& path, const std::string& token) {
    const std::string prefix = "/" + token + "/";
    if (path.size() < prefix.size() ||
        !WebSecurity::tokenMatches(prefix, std::string_view(path).substr(0, prefix.size()))) {
        return std::nullopt;
    }
    return path.substr(prefix.size());
}

std::unique_ptr<httplib::Server> makeServer() {
    auto server = std::make_unique<httplib::Server>();
    server->new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
    server->set_keep_alive_timeout(5);
    // Small replies on kept-alive connections must not wait for the peer's delayed ACK.
    server->set_tcp_nodelay(true);
    server->set_payload_max_length(1 << 20);
    return server;
}

}  // namespace

WebServer::WebServer(Options options, PageStore& pages, Handlers handlers)
    : options_(std::move(options)),
      pages_(pages),
      handlers_(std::move(handlers)),
      token_(WebSecurity::randomToken()),
      pageToken_(WebSecurity::randomToken()),
      app_(makeServer()),
      page_(makeServer()) {}

WebServer::~WebServer() {
    stop();
}

bool WebServer::start() {
    const std::string& host = options_.listenAddress;
    port_ = options_.port > 0
                ? (app_->bind_to_port(host.c_str(), options_.port) ? options_.port : -1)
                : app_->bind_to_any_port(host.c_str());
    pagePort_ =
        options_.pagePort > 0
            ? (page_->bind_to_port(host.c_str(), options_.pagePort) ? options_.pagePort : -1)
            : page_->bind_to_any_port(host.c_str());
    if (port_ <= 0 || pagePort_ <= 0) return false;
    appHosts_ = WebSecurity::allowedHosts(host, port_);
    pageHosts_ = WebSecurity::allowedHosts(host, pagePort_);

    app_->set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        if (!WebSecurity::hostAllowed(req.get_header_value("Host"), appHosts_)) {
            refuse(res, 403);
            return httplib::Server::HandlerResponse::Handled;
        }
        const bool api = req.path == "/api/event";
        const bool allowed =
            api ? WebSecurity::tokenMatches(token_, req.get_header_value(WebSecurity::kTokenHeader))
                : underToken(req.path, token_).has_value();
        if (!allowed) {
            refuse(res, 403);
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    app_->set_post_routing_handler([this](const httplib::Request&, httplib::Response& res) {
        const std::string pageOrigin = "http://127.0.0.1:" + std::to_string(pagePort_) +
                                       " http://localhost:" + std::to_string(pagePort_);
        res.set_header("Content-Security-Policy",
                       WebSecurity::appContentSecurityPolicy(pageOrigin));
        res.set_header("Referrer-Policy", "no-referrer");
        res.set_header("X-Content-Type-Options", "nosniff");
        res.set_header("X-Frame-Options", "DENY");
        res.set_header("Cache-Control", "no-store");
    });
    app_->Get(R"(/.*)",
              [this](const httplib::Request& req, httplib::Response& res) { routeApp(req, res); });
    app_->Post("/api/event", [this](const httplib::Request& req, httplib::Response& res) {
        serveEvent(req, res);
    });

    page_->set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        if (!WebSecurity::hostAllowed(req.get_header_value("Host"), pageHosts_) ||
            !underToken(req.path, pageToken_)) {
            refuse(res, 403);
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    page_->set_post_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        res.set_header("Content-Security-Policy",
                       WebSecurity::pageContentSecurityPolicy("http://" + hostName(req) + ":" +
                                                              std::to_string(port_)));
        res.set_header("Referrer-Policy", "no-referrer");
        res.set_header("X-Content-Type-Options", "nosniff");
    });
    page_->Get(R"(/.*)", [this](const httplib::Request& req, httplib::Response& res) {
        routePage(req, res);
    });

    appThread_ = std::thread([this] { app_->listen_after_bind(); });
    pageThread_ = std::thread([this] { page_->listen_after_bind(); });
    // stop() only takes effect once an accept loop runs: a server stopped before would accept
    // forever and its thread never end. So do not return before both loops run.
    for (int i = 0; i < 5000 && !(app_->is_running() && page_->is_running()); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void WebServer::stop() {
    app_->stop();
    page_->stop();
    if (appThread_.joinable()) appThread_.join();
    if (pageThread_.joinable()) pageThread_.join();
}

std::string WebServer::address() const {
    const std::string host = options_.listenAddress == "0.0.0.0" || options_.listenAddress.empty()
                                 ? "127.0.0.1"
                                 : options_.listenAddress;
    return "http://" + host + ":" + std::to_string(port_) + "/" + token_ + "/";
}

std::string WebServer::hostName(const httplib::Request& req) const {
    // The Host header has been checked against the allowed list, so it ends in ":<port>".
    const std::string host = req.get_header_value("Host");
    const auto colon = host.rfind(':');
    return colon == std::string::npos ? host : host.substr(0, colon);
}

void WebServer::routeApp(const httplib::Request& req, httplib::Response& res) {
    const std::string rest = underToken(req.path, token_).value_or("");
    if (rest == "events") {
        serveEvents(req, res);
        return;
    }
    const std::string file = rest.empty() ? "index.html" : rest;
    if (!sendFile(res, PageStore::resolveInside(options_.assetDir, file))) refuse(res, 404);
}

void WebServer::serveEvents(const httplib::Request& req, httplib::Response& res) {
    auto [tabId, stream] = handlers_.openTab();
    const json hello{{"c", "hello"},
                     {"tab", tabId},
                     {"pageBase", "http://" + hostName(req) + ":" + std::to_string(pagePort_) +
                                      "/" + pageToken_}};
    auto first = std::make_shared<std::string>("data: " + hello.dump() + "\n\n");
    res.set_header("Cache-Control", "no-store");
    res.set_chunked_content_provider(
        "text/event-stream",
        [stream, first](std::size_t, httplib::DataSink& sink) {
            std::string chunk;
            if (!first->empty()) {
                chunk = std::move(*first);
                first->clear();
            }
            if (auto message = stream->pop(chunk.empty() ? kKeepAlive : std::chrono::seconds(0))) {
                chunk += "data: " + *message + "\n\n";
                // Whatever else is waiting goes in the same write.
                while (auto more = stream->pop(std::chrono::milliseconds(0))) {
                    chunk += "data: " + *more + "\n\n";
                }
            }
            if (stream->closed()) {
                // What was taken before the close still goes out, then the stream ends.
                if (!chunk.empty() && !sink.write(chunk.data(), chunk.size())) return false;
                sink.done();
                return true;
            }
            if (chunk.empty()) chunk = ": keep-alive\n\n";
            return sink.write(chunk.data(), chunk.size());
        },
        [handlers = handlers_, tabId = tabId](bool) { handlers.closeTab(tabId); });
}

void WebServer::serveEvent(const httplib::Request& req, httplib::Response& res) {
    json event = json::parse(req.body, nullptr, false);
    if (!event.is_object() || !event.contains("tab") || !event["tab"].is_number_integer()) {
        res.status = 400;
        res.set_content("bad event\n", "text/plain; charset=utf-8");
        return;
    }
    const int tabId = event["tab"].get<int>();
    handlers_.event(tabId, std::move(event));
    res.status = 204;
}

void WebServer::routePage(const httplib::Request& req, httplib::Response& res) {
    const std::string rest = underToken(req.path, pageToken_).value_or("");
    const auto parts = split(rest, "/");
    if (parts.size() == 3 && parts[0] == "p") {
        const int pageId = std::atoi(parts[1].c_str());
        const std::string appOrigin = "http://" + hostName(req) + ":" + std::to_string(port_);
        const std::string prefix = "/" + pageToken_;
        std::string html = pages_.servedPage(pageId, prefix, appOrigin);
        if (html.empty()) {
            refuse(res, 404);
            return;
        }
        res.set_header("Cache-Control", "no-store");
        res.set_content(std::move(html), "text/html; charset=utf-8");
        return;
    }
    const auto slash = rest.find('/');
    if (slash != std::string::npos &&
        sendFile(res, pages_.file(rest.substr(0, slash), rest.substr(slash + 1)))) {
        res.set_header("Cache-Control", "max-age=3600");
        return;
    }
    refuse(res, 404);
}

}  // namespace examora
