// The web interface's guards: token, Host check, content security policies, and the folders and
// rewriting of the question-page origin.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "support/temp_home.h"
#include "web/page_store.h"
#include "web/web_security.h"

namespace examora {
namespace {

namespace fs = std::filesystem;

TEST(WebSecurityTest, TokensAreLongRandomAndComparedWhole) {
    std::set<std::string> seen;
    for (int i = 0; i < 20; ++i) {
        const std::string token = WebSecurity::randomToken();
        EXPECT_EQ(token.size(), 64u);
        EXPECT_EQ(token.find_first_not_of("0123456789abcdef"), std::string::npos);
        seen.insert(token);
    }
    EXPECT_EQ(seen.size(), 20u);

    const std::string token = WebSecurity::randomToken();
    struct Case {
        std::string given;
        bool matches;
    };
    const Case cases[] = {
        {token, true},        {token.substr(0, 63), false},
        {token + "0", false}, {token.substr(0, 63) + (token.back() == 'a' ? "b" : "a"), false},
        {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WebSecurity::tokenMatches(token, c.given), c.matches) << c.given;
    }
    // An empty expected token (a server not yet started) lets nothing in.
    EXPECT_FALSE(WebSecurity::tokenMatches("", ""));
}

TEST(WebSecurityTest, OnlyTheServersOwnHostAndPortPass) {
    const auto loopback = WebSecurity::allowedHosts("127.0.0.1", 8080);
    struct Case {
        const char* host;
        bool allowed;
    };
    const Case cases[] = {
        {"127.0.0.1:8080", true},       {"localhost:8080", true},
        {"LOCALHOST:8080", true},       {"127.0.0.1", false},
        {"127.0.0.1:8081", false},      {"evil.example:8080", false},
        {"127.0.0.1:8080.evil", false}, {"", false},
        {"192.168.1.5:8080", false},    {"[::1]:8080", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WebSecurity::hostAllowed(c.host, loopback), c.allowed) << c.host;
    }
    // A listen address given on purpose is a name the browser may use too.
    EXPECT_TRUE(WebSecurity::hostAllowed("192.168.1.5:8080",
                                         WebSecurity::allowedHosts("192.168.1.5", 8080)));
    EXPECT_TRUE(WebSecurity::hostAllowed("[::1]:8080", WebSecurity::allowedHosts("::1", 8080)));
}

TEST(WebSecurityTest, PoliciesAllowNoOutsideOriginAndThePageNoConnection) {
    const std::string app = WebSecurity::appContentSecurityPolicy("http://127.0.0.1:9001");
    EXPECT_NE(app.find("default-src 'none'"), std::string::npos);
    EXPECT_NE(app.find("script-src 'self';"), std::string::npos);
    EXPECT_NE(app.find("frame-src http://127.0.0.1:9001;"), std::string::npos);
    EXPECT_NE(app.find("frame-ancestors 'none'"), std::string::npos);
    EXPECT_EQ(app.find("unsafe-inline"), std::string::npos);
    EXPECT_EQ(app.find('*'), std::string::npos);

    const std::string page = WebSecurity::pageContentSecurityPolicy("http://127.0.0.1:9000");
    EXPECT_NE(page.find("default-src 'none'"), std::string::npos);
    // No connect-src of its own: connections fall back to default-src 'none'.
    EXPECT_EQ(page.find("connect-src"), std::string::npos);
    EXPECT_NE(page.find("form-action 'none'"), std::string::npos);
    EXPECT_NE(page.find("script-src 'self' 'unsafe-inline';"), std::string::npos);
    EXPECT_NE(page.find("frame-ancestors http://127.0.0.1:9000;"), std::string::npos);
    EXPECT_EQ(page.find('*'), std::string::npos);
}

TEST(PageStoreTest, FileAddressesOfTheTwoFoldersBecomePageOriginPaths) {
    struct Case {
        std::string html;
        std::string served;
    };
    const std::string res = "/opt/exam ora/res";
    const std::string pic = "/home/u/documents/image";
    const Case cases[] = {
        {R"(<link href="file:///opt/exam%20ora/res/style.css">)",
         R"(<link href="/T/r/style.css">)"},
        {R"(<img src="file:///opt/exam ora/res/a.png">)", R"(<img src="/T/r/a.png">)"},
        {R"(<img src="file:///home/u/documents/image/12/p.jpg">)", R"(<img src="/T/i/12/p.jpg">)"},
        // Any other file stays as written (and the browser will not load it).
        {R"(<img src="file:///etc/passwd">)", R"(<img src="file:///etc/passwd">)"},
        {R"(<img src="file:///opt/exam ora/resources/x.png">)",
         R"(<img src="file:///opt/exam ora/resources/x.png">)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PageStore::rewriteFileUrls(c.html, res, pic, "/T"), c.served) << c.html;
    }
    // A picture folder inside the resource folder keeps its own path.
    EXPECT_EQ(PageStore::rewriteFileUrls(R"(file:///r/image/a.png file:///r/b.css)", "/r",
                                         "/r/image", "/T"),
              "/T/i/a.png /T/r/b.css");
}

TEST(PageStoreTest, OnlyRegularFilesInsideTheFolderAreServed) {
    TempHome home;
    const fs::path root = home.makeDirectory("res");
    const fs::path outside = home.makeDirectory("secret");
    TempHome::writeFile((root / "style.css").string(), "body{}");
    TempHome::writeFile((root / "img/a.png").string(), "png");
    TempHome::writeFile((outside / "key").string(), "secret");
    fs::create_symlink(outside / "key", root / "leak");
    fs::create_symlink(root / "style.css", root / "alias.css");

    struct Case {
        std::string relative;
        bool served;
    };
    const Case cases[] = {
        {"style.css", true},
        {"img/a.png", true},
        {"alias.css", true},
        {"../secret/key", false},
        {"img/../../secret/key", false},
        {"img/../style.css", false},  // no ".." at all, even one that stays inside
        {"/etc/passwd", false},
        {"", false},
        {"img", false},
        {"missing.css", false},
        {"leak", false},
        {"img\\a.png", false},
        {std::string("style.css\0x", 11), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PageStore::resolveInside(root, c.relative).has_value(), c.served) << c.relative;
    }
}

TEST(PageStoreTest, APageIsServedWithItsPreludeFirstAndTheStoredTextUntouched) {
    PageStore pages("/res", "/pic");
    const int id = pages.newPageId();
    EXPECT_NE(pages.newPageId(), id);
    const std::string html = R"(<html><link href="file:///res/style.css"><body>题</body></html>)";
    EXPECT_EQ(pages.store(id, "first"), 1);
    EXPECT_EQ(pages.store(id, html), 2);

    const std::string served = pages.servedPage(id, "/T", "http://127.0.0.1:9000");
    const auto prelude = served.find("<script>");
    const auto page = served.find("<html>");
    ASSERT_NE(prelude, std::string::npos);
    ASSERT_NE(page, std::string::npos);
    EXPECT_LT(prelude, page);
    EXPECT_NE(served.find("APP=\"http://127.0.0.1:9000\""), std::string::npos);
    EXPECT_NE(served.find("LOAD=2"), std::string::npos);
    EXPECT_NE(served.find(R"(href="/T/r/style.css")"), std::string::npos);
    EXPECT_EQ(pages.page(id)->second, html);

    pages.remove(id);
    EXPECT_EQ(pages.servedPage(id, "/T", "http://127.0.0.1:9000"), "");
    EXPECT_FALSE(pages.page(id));
}

}  // namespace
}  // namespace examora
