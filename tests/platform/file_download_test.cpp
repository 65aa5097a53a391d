// The ranged file downloaders against a scripted server that can misbehave.
#include <gtest/gtest.h>

#include <mutex>

#include "platform/zx_file_multi_downloader.h"
#include "support/temp_home.h"

namespace examora {
namespace {

// Serves one file from memory as an HTTP server would, or misbehaves as told.
class FileServer : public HttpTransport {
  public:
    explicit FileServer(std::string file) : file_(std::move(file)) {}

    enum class Fault { None, IgnoreRange, ShortBody, NoLength, HeadFails, FailPart };
    Fault fault = Fault::None;
    // FailPart: the part starting at this offset fails.
    std::uint64_t failingOffset = 0;
    // Called after each chunk with the offset reached.
    std::function<void(std::uint64_t)> afterChunk;

    std::vector<std::string> ranges() {
        std::lock_guard<std::mutex> lock(mutex_);
        return ranges_;
    }

    HttpResponse perform(const HttpRequest& request) override {
        HttpResponse r;
        if (request.method == "HEAD") {
            if (fault == Fault::HeadFails) {
                r.error = "refused";
                return r;
            }
            r.status = 200;
            if (fault != Fault::NoLength)
                r.headers = {{"Content-Length", std::to_string(file_.size())}};
            return r;
        }
        std::optional<std::string> range = findHeader(request.headers, "Range");
        std::uint64_t first = 0;
        std::uint64_t last = file_.size() - 1;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ranges_.push_back(range.value_or(""));
        }
        if (range && fault != Fault::IgnoreRange) {
            std::sscanf(range->c_str(), "bytes=%lu-%lu", &first, &last);
            if (last >= file_.size()) last = file_.size() - 1;
            r.status = 206;
        } else {
            r.status = 200;
        }
        if (fault == Fault::FailPart && first == failingOffset) {
            r.error = "Operation timed out";
            return r;
        }
        std::string body = file_.substr(first, last - first + 1);
        if (fault == Fault::ShortBody && body.size() > 1) body.resize(body.size() / 2);
        r.headers = {{"Content-Length", std::to_string(body.size())}};
        // Delivered in chunks of 7 bytes, as a network would.
        for (std::size_t at = 0; at < body.size(); at += 7) {
            const std::string chunk = body.substr(at, 7);
            if (!request.bodySink(r.status, chunk.data(), chunk.size())) {
                r.error = "body refused";
                return r;
            }
            if (afterChunk) afterChunk(first + at + chunk.size());
        }
        return r;
    }

  private:
    std::string file_;
    std::mutex mutex_;
    std::vector<std::string> ranges_;
};

std::string content(std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i)
        s.push_back(static_cast<char>('a' + (i * 7 + i / 26) % 26));
    return s;
}

class FileDownloadTest : public ::testing::Test {
  protected:
    TempHome home_;
    std::string dest = home_.path() + "/tmp.zip";
};

TEST_F(FileDownloadTest, TenBytesGoInFourRangesAndArriveWhole) {
    EXPECT_EQ(
        ZxFileMultiDownloader::partRanges(10),
        (std::vector<std::pair<std::int64_t, std::int64_t>>{{0, 2}, {3, 5}, {6, 8}, {9, 11}}));
    // A file too small for four parts is not asked for ranges that start past its end.
    EXPECT_EQ(ZxFileMultiDownloader::partRanges(2).size(), 2u);
    EXPECT_TRUE(ZxFileMultiDownloader::partRanges(0).empty());

    auto server = std::make_shared<FileServer>("0123456789");
    ZxFileMultiDownloader d("http://h/subject/a.zip", dest, server);
    std::atomic<std::int64_t> progressed{0};
    d.progressHandler = [&](std::int64_t n) { progressed += n; };
    EXPECT_EQ(d.start(), std::nullopt);
    std::vector<std::string> asked = server->ranges();
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked,
              (std::vector<std::string>{"bytes=0-2", "bytes=3-5", "bytes=6-8", "bytes=9-11"}));
    EXPECT_EQ(TempHome::readFile(dest), "0123456789");
    EXPECT_EQ(progressed, 10);
}

TEST_F(FileDownloadTest, LargeFileArrivesWholeFromFourParts) {
    const std::string file = content(100003);
    auto server = std::make_shared<FileServer>(file);
    ZxFileMultiDownloader d("http://h/a.zip", dest, server);
    EXPECT_EQ(d.start(), std::nullopt);
    EXPECT_EQ(TempHome::readFile(dest), file);
}

TEST_F(FileDownloadTest, APausedPartResumesFromWhereItStopped) {
    const std::string file = content(4000);
    auto server = std::make_shared<FileServer>(file);
    ZxFileSingleDownloader part("http://h/a.zip", dest, 0, 3999, 4000, server);
    server->afterChunk = [&](std::uint64_t done) {
        if (done >= 1000) part.pause();
    };
    EXPECT_EQ(part.start(), "paused");
    const std::int64_t stoppedAt = part.currentLength();
    EXPECT_GE(stoppedAt, 1000);
    EXPECT_LT(stoppedAt, 1010);
    server->afterChunk = nullptr;
    EXPECT_EQ(findHeader(part.request().headers, "Range"),
              "bytes=" + std::to_string(stoppedAt) + "-3999");
    EXPECT_EQ(part.start(), std::nullopt);
    EXPECT_EQ(TempHome::readFile(dest), file);

    // A part that begins inside the file asks from its own beginning.
    ZxFileSingleDownloader later("http://h/a.zip", dest, 3000, 3999, 4000, server);
    EXPECT_EQ(findHeader(later.request().headers, "Range"), "bytes=3000-3999");
}

TEST_F(FileDownloadTest, EveryMisbehaviourEndsInAReportedFailure) {
    const std::string file = content(1000);
    struct Case {
        FileServer::Fault fault;
        const char* why;
    } cases[] = {
        {FileServer::Fault::IgnoreRange, "a 200 for a ranged part would overwrite the others"},
        {FileServer::Fault::ShortBody, "a part shorter than asked"},
        {FileServer::Fault::HeadFails, "no size"},
        {FileServer::Fault::FailPart, "one part times out"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        auto server = std::make_shared<FileServer>(file);
        server->fault = c.fault;
        server->failingOffset = 250;
        ZxFileMultiDownloader d("http://h/a.zip", dest, server);
        EXPECT_NE(d.start(), std::nullopt);
    }
}

TEST_F(FileDownloadTest, UnknownLengthIsFetchedInOnePart) {
    const std::string file = content(5000);
    auto server = std::make_shared<FileServer>(file);
    server->fault = FileServer::Fault::NoLength;
    ZxFileMultiDownloader d("http://h/a.zip", dest, server);
    EXPECT_EQ(d.start(), std::nullopt);
    EXPECT_EQ(server->ranges(), std::vector<std::string>{""});
    EXPECT_EQ(TempHome::readFile(dest), file);
}

}  // namespace
}  // namespace examora
