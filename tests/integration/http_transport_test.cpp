#include <gtest/gtest.h>

#include <filesystem>

#include "exam_service/exam_server.h"
#include "platform/http_transport.h"
#include "support/temp_home.h"

namespace examora {
namespace {

// Serves one fixed package for GET and HEAD and echoes every POST body back.
class PackageHandler : public ExamServiceHandler {
  public:
    ServiceReply handle(const RecordedRequest& request) override {
        if (request.path == "/big.zip")
            return ServiceReply::raw(200, std::string(4 << 20, 'z'), "application/zip");
        if (request.path == "/subject/1.zip")
            return ServiceReply::raw(200, kPackage, "application/zip");
        if (request.method == "POST") return ServiceReply::raw(200, request.body, "text/plain");
        return ServiceReply::raw(404, "Not Found", "text/plain");
    }
    static inline const std::string kPackage = "PK\x03\x04 0123456789 abcdefghij";
};

class HttpTransportTest : public TempHomeTest {
  protected:
    void SetUp() override { ASSERT_TRUE(server.start()); }
    void TearDown() override { server.stop(); }

    ExamServer server{std::make_shared<PackageHandler>()};
    std::shared_ptr<HttpTransport> transport = HttpTransport::systemTransport();
    std::string file = home_.path() + "/transport.zip";
};

TEST_F(HttpTransportTest, ContentLengthIsTheBytesActuallySent) {
    HttpRequest request;
    request.url = server.baseURL() + "/echo";
    request.method = "POST";
    request.headers = {{"Content-Length", "999"}, {"Content-Type", "text/plain"}};
    request.body = "题目 body";
    HttpResponse response = transport->perform(request);
    EXPECT_FALSE(response.error);
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.text(), "题目 body");
    EXPECT_EQ(server.requests().back().header("Content-Length"),
              std::to_string(request.body.size()));
}

TEST_F(HttpTransportTest, HeadGivesTheSizeThenRangesGoIntoMemoryOrResumeAFile) {
    const std::string url = server.baseURL() + "/subject/1.zip";
    HttpResponse head = transport->head(url, 10);
    EXPECT_EQ(head.status, 200);
    EXPECT_EQ(head.contentLength(), PackageHandler::kPackage.size());
    EXPECT_TRUE(head.body.empty());
    EXPECT_EQ(transport->head(server.baseURL() + "/subject/2.zip", 10).status, 404);

    HttpResponse part = transport->getRange(url, 4, 9, 10);
    EXPECT_EQ(part.status, 206);
    EXPECT_EQ(part.body, PackageHandler::kPackage.substr(4, 6));

    EXPECT_EQ(transport->getRangeToFile(url, 0, 9, file, false, 10).status, 206);
    HttpResponse rest = transport->getRangeToFile(url, 10, std::nullopt, file, true, 10);
    EXPECT_FALSE(rest.error);
    EXPECT_EQ(rest.status, 206);
    EXPECT_EQ(TempHome::readFile(file), PackageHandler::kPackage);
}

TEST_F(HttpTransportTest, ErrorPageIsNotWrittenIntoTheFile) {
    TempHome::writeFile(file, "partial");
    HttpResponse missing = transport->getRangeToFile(server.baseURL() + "/nothing.zip", 7,
                                                     std::nullopt, file, true, 10);
    EXPECT_EQ(missing.status, 404);
    EXPECT_EQ(TempHome::readFile(file), "partial");
}

TEST_F(HttpTransportTest, ProgressCanAbortADownload) {
    HttpRequest request;
    request.url = server.baseURL() + "/big.zip";
    request.outputFile = file;
    std::uint64_t seen = 0;
    request.progress = [&seen](std::uint64_t received, std::uint64_t) {
        seen = received;
        return received == 0;  // stop as soon as bytes arrive
    };
    HttpResponse response = transport->perform(request);
    EXPECT_TRUE(response.error);
    EXPECT_GT(seen, 0u);
    EXPECT_LT(std::filesystem::file_size(file), std::uintmax_t{4} << 20);
}

TEST_F(HttpTransportTest, ABodyOverTheCapFailsTheCall) {
    constexpr std::uint64_t kBig = std::uint64_t{4} << 20;  // the size of /big.zip
    HttpRequest request;
    request.url = server.baseURL() + "/big.zip";
    request.maxBodyBytes = kBig - 1;
    HttpResponse over = transport->perform(request);
    EXPECT_TRUE(over.error);
    EXPECT_LT(over.body.size(), kBig);

    request.outputFile = file;
    EXPECT_TRUE(transport->perform(request).error);
    EXPECT_LT(std::filesystem::file_size(file), kBig);

    // At the cap, or with no cap (as a download to disk asks), the body arrives whole.
    for (const std::uint64_t cap : {kBig, std::uint64_t{0}}) {
        request.outputFile.reset();
        request.maxBodyBytes = cap;
        HttpResponse whole = transport->perform(request);
        EXPECT_FALSE(whole.error) << cap;
        EXPECT_EQ(whole.body.size(), kBig) << cap;
    }
}

TEST_F(HttpTransportTest, TransportFailuresAreReportedNotThrown) {
    const std::string url = server.baseURL() + "/echo";
    server.stop();
    HttpRequest request;
    request.url = url;
    HttpResponse refused = transport->perform(request);
    EXPECT_TRUE(refused.error);
    EXPECT_EQ(refused.status, 0);

    request.url = "not a url";
    EXPECT_TRUE(transport->perform(request).error);
    request.url = "file:///etc/passwd";
    EXPECT_TRUE(transport->perform(request).error);
}

}  // namespace
}  // namespace examora
