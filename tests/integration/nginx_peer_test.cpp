// The four-part ranged download against Debian's nginx serving a package from a folder.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/zx_file_multi_downloader.h"
#include "support/temp_home.h"

extern char** environ;

namespace examora {
namespace {

namespace fs = std::filesystem;
constexpr const char* kNginx = "/usr/sbin/nginx";

// nginx serving `folder/www` on a loopback port, stopped (SIGTERM, then reaped) when destroyed.
//
// The listening socket is bound and listening before nginx starts and is handed to it as an
// inherited socket (the NGINX environment variable), so the port is taken without a race and a
// client may connect at once: the kernel queues the connection until nginx accepts it.
class NginxPeer {
  public:
    explicit NginxPeer(const fs::path& folder) : folder_(folder) {
        socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (socket_ < 0 || ::bind(socket_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(socket_, 64) != 0 ||
            ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            failure_ = "no loopback port could be taken";
            return;
        }
        port_ = ntohs(address.sin_port);
        writeConfig();

        const std::string prefix = folder_.string() + "/";
        std::vector<std::string> args = {
            kNginx, "-p", prefix, "-e", prefix + "error.log", "-c", prefix + "nginx.conf"};
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<std::string> env = {"NGINX=" + std::to_string(socket_) + ";"};
        for (char** e = environ; *e; ++e)
            if (std::string(*e).rfind("NGINX=", 0) != 0) env.emplace_back(*e);
        std::vector<char*> envp;
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        if (posix_spawn(&pid_, kNginx, nullptr, nullptr, argv.data(), envp.data()) != 0) {
            pid_ = -1;
            failure_ = "nginx did not start";
        }
    }
    ~NginxPeer() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            ::waitpid(pid_, &status, 0);
        }
        if (socket_ >= 0) ::close(socket_);
    }
    NginxPeer(const NginxPeer&) = delete;
    NginxPeer& operator=(const NginxPeer&) = delete;

    const std::string& failure() const { return failure_; }
    std::string url(const std::string& file) const {
        return "http://127.0.0.1:" + std::to_string(port_) + "/" + file;
    }
    std::string errorLog() const { return TempHome::readFile((folder_ / "error.log").string()); }

  private:
    void writeConfig() const {
        const std::string at = folder_.string();
        fs::create_directories(folder_ / "temp");
        // The worker keeps the user the test runs as ("user" is ignored unless that is root), so
        // it can read the test's private folder.
        std::string conf = "daemon off;\nuser root;\nworker_processes 1;\n";
        conf += "pid " + at + "/nginx.pid;\nerror_log " + at + "/error.log;\n";
        conf += "events { worker_connections 64; }\nhttp {\n  access_log off;\n";
        for (const char* kind : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"})
            conf += std::string("  ") + kind + "_temp_path " + at + "/temp/" + kind + ";\n";
        conf += "  server {\n    listen 127.0.0.1:" + std::to_string(port_) + ";\n";
        conf += "    root " + at + "/www;\n  }\n}\n";
        TempHome::writeFile(at + "/nginx.conf", conf);
    }

    fs::path folder_;
    int socket_ = -1;
    int port_ = 0;
    pid_t pid_ = -1;
    std::string failure_;
};

std::string randomBytes(std::size_t size) {
    std::mt19937 random(static_cast<unsigned>(size));
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

class NginxPeerTest : public TempHomeTest, public ::testing::WithParamInterface<std::size_t> {};

// Sizes that cut into four unequal parts, and one with fewer bytes than parts.
INSTANTIATE_TEST_SUITE_P(Sizes, NginxPeerTest, ::testing::Values(1'000'003, 4'099, 3));

TEST_P(NginxPeerTest, RangedDownloadGetsEveryByte) {
    if (!fs::exists(kNginx))
        GTEST_SKIP() << kNginx << " is missing: install nginx-light (scripts/install-deps.sh) to "
                     << "run the ranged download against a real web server";
    const std::size_t size = GetParam();
    const fs::path folder = home_.makeDirectory("nginx");
    const std::string content = randomBytes(size);
    TempHome::writeFile((folder / "www/subject/course7_0123456789abcdef.zip").string(), content);
    NginxPeer nginx(folder);
    ASSERT_EQ(nginx.failure(), "");

    const fs::path dest = fs::path(home_.documents()) / "tmp.zip";
    fs::create_directories(dest.parent_path());
    ZxFileMultiDownloader downloader(nginx.url("subject/course7_0123456789abcdef.zip"), dest);
    std::atomic<std::int64_t> reported{0};
    downloader.progressHandler = [&](std::int64_t bytes) { reported += bytes; };
    const std::optional<std::string> failure = downloader.start();
    ASSERT_EQ(failure, std::nullopt) << nginx.errorLog();
    EXPECT_EQ(downloader.totalLength(), static_cast<std::int64_t>(size));
    EXPECT_EQ(downloader.singleDownloaders().size(), std::min<std::size_t>(size, 4));
    EXPECT_EQ(reported.load(), static_cast<std::int64_t>(size));
    EXPECT_TRUE(TempHome::readFile(dest.string()) == content) << "the downloaded bytes differ";
}

}  // namespace
}  // namespace examora
