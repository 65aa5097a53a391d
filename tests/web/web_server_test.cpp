// The two origins over loopback: what each serves, what each refuses, and the event stream.

#include "web/web_server.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <condition_variable>
#include <mutex>

#include "support/temp_home.h"
#include "web/event_stream.h"
#include "web/page_store.h"
#include "web/web_security.h"

namespace examora {
namespace {

class WebServerTest : public ::testing::Test {
  protected:
    WebServerTest()
        : assets_(home_.makeDirectory("assets")),
          resources_(home_.makeDirectory("res")),
          pictures_(home_.makeDirectory("pic")),
          pages_(resources_, pictures_) {
        TempHome::writeFile(assets_ + "/index.html", "<!DOCTYPE html>shell");
        TempHome::writeFile(assets_ + "/app.js", "// app");
        TempHome::writeFile(resources_ + "/style.css", "body{}");
        TempHome::writeFile(pictures_ + "/p.png", "png");
        TempHome::writeFile(home_.path() + "/secret.txt", "secret");

        WebServer::Handlers handlers;
        handlers.openTab = [this] {
            std::lock_guard lock(mutex_);
            stream_ = std::make_shared<EventStream>();
            stream_->push(R"({"c":"first"})");
            stream_->push(R"({"c":"second"})");
            return std::make_pair(7, stream_);
        };
        handlers.closeTab = [this](int tab) {
            {
                std::lock_guard lock(mutex_);
                closed_.push_back(tab);
            }
            changed_.notify_all();
        };
        handlers.event = [this](int tab, nlohmann::json event) {
            std::lock_guard lock(mutex_);
            events_.emplace_back(tab, std::move(event));
        };
        WebServer::Options options;
        options.assetDir = assets_;
        server_ = std::make_unique<WebServer>(options, pages_, std::move(handlers));
        EXPECT_TRUE(server_->start());
    }

    httplib::Client app() { return httplib::Client("127.0.0.1", server_->port()); }
    httplib::Client page() { return httplib::Client("127.0.0.1", server_->pagePort()); }
    std::string root() const { return std::string("/") + server_->token() + "/"; }
    std::string pageRoot() const { return std::string("/") + server_->pageToken() + "/"; }

    static int status(const httplib::Result& r) { return r ? r->status : -1; }

    TempHome home_;
    std::string assets_;
    std::string resources_;
    std::string pictures_;
    PageStore pages_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::shared_ptr<EventStream> stream_;
    std::vector<int> closed_;
    std::vector<std::pair<int, nlohmann::json>> events_;
    std::unique_ptr<WebServer> server_;
};

TEST_F(WebServerTest, TheInterfaceNeedsItsTokenAndItsOwnHost) {
    auto client = app();
    const auto shell = client.Get(root().c_str());
    ASSERT_EQ(status(shell), 200);
    EXPECT_EQ(shell->body, "<!DOCTYPE html>shell");
    const std::string csp = shell->get_header_value("Content-Security-Policy");
    EXPECT_NE(
        csp.find(std::string("frame-src http://127.0.0.1:") + std::to_string(server_->pagePort())),
        std::string::npos);
    EXPECT_EQ(shell->get_header_value("Referrer-Policy"), "no-referrer");
    EXPECT_EQ(status(client.Get((root() + "app.js").c_str())), 200);

    const std::string wrong = std::string("/") + std::string(64, '0') + "/";
    const std::string refused[] = {"/",
                                   "/app.js",
                                   wrong,
                                   wrong + "app.js",
                                   "/api/event",
                                   std::string("/") + server_->pageToken() + "/",
                                   std::string("/") + server_->token().substr(1) + "/"};
    for (const auto& path : refused)
        EXPECT_EQ(status(client.Get(path.c_str())), 403) << path;
    // Nothing outside the asset folder, token or not.
    EXPECT_EQ(status(client.Get((root() + "../secret.txt").c_str())), 404);

    // A page of another site whose name was rebound to 127.0.0.1 names its own host.
    const httplib::Headers foreign{
        {"Host", std::string("evil.example:") + std::to_string(server_->port())}};
    EXPECT_EQ(status(client.Get(root().c_str(), foreign)), 403);
}

TEST_F(WebServerTest, EventsNeedTheTokenInTheirHeaderAndReachTheirTab) {
    auto client = app();
    const std::string body = R"({"tab":3,"screen":2,"e":"row","index":1})";
    EXPECT_EQ(status(client.Post("/api/event", body, "application/json")), 403);
    // The token in the address is not enough for an event: a form of another site could put it
    // there, never in a header.
    EXPECT_EQ(status(client.Post((root() + "api/event").c_str(), body, "application/json")), 404);
    const httplib::Headers wrong{{WebSecurity::kTokenHeader, std::string(64, 'a')}};
    EXPECT_EQ(status(client.Post("/api/event", wrong, body, "application/json")), 403);

    const httplib::Headers token{{WebSecurity::kTokenHeader, server_->token()}};
    EXPECT_EQ(status(client.Post("/api/event", token, body, "application/json")), 204);
    for (const char* bad : {"not json", "[1,2]", R"({"screen":2})", R"({"tab":"3"})"}) {
        EXPECT_EQ(status(client.Post("/api/event", token, bad, "application/json")), 400) << bad;
    }
    std::lock_guard lock(mutex_);
    ASSERT_EQ(events_.size(), 1u);
    EXPECT_EQ(events_[0].first, 3);
    EXPECT_EQ(events_[0].second["index"], 1);
}

TEST_F(WebServerTest, TheEventStreamSaysHelloThenSendsTheTabsCommandsInOrder) {
    auto client = app();
    std::string received;
    const auto result =
        client.Get((root() + "events").c_str(), [&](const char* data, std::size_t size) {
            received.append(data, size);
            // The tab goes away once both commands are in.
            if (received.find("second") != std::string::npos) {
                std::lock_guard lock(mutex_);
                stream_->close();
            }
            return true;
        });
    ASSERT_EQ(status(result), 200);
    const auto hello = received.find(R"("c":"hello")");
    const auto first = received.find(R"(data: {"c":"first"})");
    const auto second = received.find(R"(data: {"c":"second"})");
    ASSERT_NE(hello, std::string::npos);
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    EXPECT_LT(hello, first);
    EXPECT_LT(first, second);
    EXPECT_NE(received.find(R"("tab":7)"), std::string::npos);
    EXPECT_NE(received.find(std::string("/") + server_->pageToken()), std::string::npos);
    // The server lets go of the tab once the response is over, which may be just after the
    // client has seen its end.
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::seconds(10), [this] { return !closed_.empty(); });
    EXPECT_EQ(closed_, std::vector<int>{7});
}

TEST_F(WebServerTest, ThePageOriginServesPagesAndItsTwoFoldersOnly) {
    const int id = pages_.newPageId();
    pages_.store(id, std::string(R"(<link href="file://)") + resources_ + R"(/style.css">)");
    auto client = page();
    const auto served = client.Get((pageRoot() + "p/" + std::to_string(id) + "/1").c_str());
    ASSERT_EQ(status(served), 200);
    EXPECT_NE(
        served->body.find(std::string(R"(href="/)") + server_->pageToken() + R"(/r/style.css")"),
        std::string::npos);
    const std::string csp = served->get_header_value("Content-Security-Policy");
    EXPECT_NE(csp.find(std::string("frame-ancestors http://127.0.0.1:") +
                       std::to_string(server_->port())),
              std::string::npos);
    EXPECT_EQ(csp.find("connect-src"), std::string::npos);

    EXPECT_EQ(status(client.Get((pageRoot() + "r/style.css").c_str())), 200);
    EXPECT_EQ(status(client.Get((pageRoot() + "i/p.png").c_str())), 200);
    const std::string refused[] = {"r/../secret.txt",
                                   "r/%2e%2e/secret.txt",
                                   "i/../res/style.css",
                                   "x/style.css",
                                   "p/999/1",
                                   "style.css",
                                   std::string("p/") + std::to_string(id)};
    for (const auto& path : refused) {
        const int s = status(client.Get((pageRoot() + path).c_str()));
        EXPECT_TRUE(s == 403 || s == 404) << path << " " << s;
    }
    // The page origin takes neither no token nor the interface's.
    EXPECT_EQ(status(client.Get("/r/style.css")), 403);
    EXPECT_EQ(status(client.Get((root() + "r/style.css").c_str())), 403);
    const httplib::Headers foreign{
        {"Host", std::string("evil.example:") + std::to_string(server_->pagePort())}};
    EXPECT_EQ(status(client.Get((pageRoot() + "r/style.css").c_str(), foreign)), 403);
}

}  // namespace
}  // namespace examora
