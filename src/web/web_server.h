#pragma once

#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace examora {

class EventStream;
class PageStore;

// The two HTTP servers of the web interface.
//
// The interface origin serves, under "/<token>/", the shell page and its static assets (the
// folder `assetDir`) and the event stream of a new tab ("events"); "POST /api/event" takes the
// browser's events and needs the token in the X-Examora-Token header. The question-page origin,
// on a port of its own, serves under "/<page token>/" the pages of the page store ("p/<id>/<load>")
// and the page store's two folders ("r/…", "i/…"), and nothing else.
//
// Every request must name an allowed Host and carry its origin's token; anything else is refused
// with 403 before any route runs. Responses carry their origin's content security policy, no
// referrer and no caching.
class WebServer {
  public:
    struct Options {
        std::string listenAddress = "127.0.0.1";
        int port = 0;      // 0: a free port
        int pagePort = 0;  // 0: a free port
        std::string assetDir;
    };
    // What the servers ask of the application; each may be called on any HTTP worker.
    struct Handlers {
        // Opens a tab; its id and its stream of view commands.
        std::function<std::pair<int, std::shared_ptr<EventStream>>()> openTab;
        // The tab's stream has closed.
        std::function<void(int tabId)> closeTab;
        // An event of tab "tab" (checked JSON object).
        std::function<void(int tabId, nlohmann::json event)> event;
    };

    WebServer(Options options, PageStore& pages, Handlers handlers);
    ~WebServer();
    WebServer(const WebServer&) = delete;
    WebServer& operator=(const WebServer&) = delete;

    // Binds both ports and serves on threads of their own; false when a port cannot be bound.
    bool start();
    // Stops both servers; open event streams must have been closed first.
    void stop();

    int port() const { return port_; }
    int pagePort() const { return pagePort_; }
    const std::string& token() const { return token_; }
    const std::string& pageToken() const { return pageToken_; }
    // "http://127.0.0.1:<port>/<token>/" (the listen address when it is not the loopback one).
    std::string address() const;

  private:
    void routeApp(const httplib::Request& req, httplib::Response& res);
    void routePage(const httplib::Request& req, httplib::Response& res);
    void serveEvents(const httplib::Request& req, httplib::Response& res);
    void serveEvent(const httplib::Request& req, httplib::Response& res);
    std::string hostName(const httplib::Request& req) const;

    Options options_;
    PageStore& pages_;
    Handlers handlers_;
    std::string token_;
    std::string pageToken_;
    std::unique_ptr<httplib::Server> app_;
    std::unique_ptr<httplib::Server> page_;
    std::thread appThread_;
    std::thread pageThread_;
    int port_ = 0;
    int pagePort_ = 0;
    std::vector<std::string> appHosts_;
    std::vector<std::string> pageHosts_;
};

}  // namespace examora
