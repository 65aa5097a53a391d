// The reference exam service's HTTP front: binding, routing to the SOAP dispatcher, stopping.
#include "server/reference_service.h"

#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "platform/log.h"
#include "server/account_methods.h"
#include "server/byte_range.h"
#include "server/catalogue_methods.h"
#include "server/content_methods.h"
#include "server/learner_methods.h"

namespace examora {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Serves one package file whole or by one byte range; HEAD gets the same headers without body.
void servePackage(const std::filesystem::path& path, const httplib::Request& req,
                  httplib::Response& res) {
    std::error_code ec;
    const std::uint64_t size = std::filesystem::file_size(path, ec);
    if (ec) {
        res.status = 404;
        return;
    }
    std::optional<std::string> header;
    if (req.has_header("Range")) header = req.get_header_value("Range");
    const ByteRange range = ByteRange::choose(header, size);
    // The range is answered here, whole: httplib would slice the body a second time by the
    // parsed ranges and add a second Content-Range, and it does not clamp a range running past
    // the end. Its Request object is not const in itself, only handed on as const.
    const_cast<httplib::Request&>(req).ranges.clear();
    res.status = range.status;
    res.set_header("Accept-Ranges", "bytes");
    if (!range.contentRange.empty()) res.set_header("Content-Range", range.contentRange);
    if (range.status == 416) return;
    auto file = std::shared_ptr<std::FILE>(std::fopen(path.c_str(), "rb"), FileCloser());
    if (!file) {
        res.status = 404;
        return;
    }
    const std::uint64_t first = range.first;
    res.set_content_provider(
        static_cast<std::size_t>(range.length), "application/zip",
        [file, first](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            char buffer[64 * 1024];
            if (std::fseek(file.get(), static_cast<long>(first + offset), SEEK_SET) != 0)
                return false;
            const std::size_t n =
                std::fread(buffer, 1, std::min(length, sizeof buffer), file.get());
            if (n == 0) return false;
            return sink.write(buffer, n);
        });
}

// Larger request bodies are refused before they are read (learner uploads stay far below).
constexpr std::size_t kMaxRequestBytes = 64u << 20;
}  // namespace

ReferenceService::ReferenceService(ReferenceServiceOptions options)
    : options_(std::move(options)),
      store_(options_.dataDir),
      packages_(store_),
      server_(std::make_unique<httplib::Server>()) {
    CatalogueMethods::registerWith(dispatcher_, store_);
    AccountMethods::registerWith(dispatcher_, store_);
    LearnerMethods::registerWith(dispatcher_, store_);
    ContentMethods::registerWith(dispatcher_, store_, packages_);
}

ReferenceService::~ReferenceService() {
    stop();
}

bool ReferenceService::start() {
    if (thread_.joinable()) return true;
    if (started_ || !store_.isOpen()) return false;
    started_ = true;

    server_->set_payload_max_length(kMaxRequestBytes);
    server_->set_keep_alive_timeout(1);
    server_->Post(kServicePath, [this](const httplib::Request& req, httplib::Response& res) {
        ServiceReply reply = dispatcher_.handle(req.body, req.get_header_value("SOAPAction"));
        res.status = reply.status;
        for (const auto& [name, value] : reply.headers)
            res.set_header(name.c_str(), value);
        res.set_content(reply.body, reply.contentType.c_str());
    });
    server_->Get(std::string(kPackagePath) + "([^/]+)", [this](const httplib::Request& req,
                                                               httplib::Response& res) {
        std::optional<std::filesystem::path> path = packages_.packageFile(req.matches[1].str());
        if (!path) {
            res.status = 404;
            return;
        }
        servePackage(*path, req, res);
    });
    // Whatever escapes a handler still ends as a complete SOAP fault.
    server_->set_exception_handler(
        [](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
            ServiceReply fault = ServiceReply::soapFault("Server was unable to process request.");
            res.status = fault.status;
            res.set_content(fault.body, fault.contentType.c_str());
        });

    if (options_.port > 0) {
        port_ = server_->bind_to_port(options_.host, options_.port) ? options_.port : 0;
    } else {
        port_ = server_->bind_to_any_port(options_.host);
    }
    if (port_ <= 0) {
        port_ = 0;
        logf("examora-service: cannot bind %@:%d", options_.host, options_.port);
        return false;
    }
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() only takes effect once the accept loop runs, so do not return before it does.
    for (int i = 0; i < 5000 && !server_->is_running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void ReferenceService::stop() {
    if (thread_.joinable()) {
        server_->stop();
        thread_.join();
    }
}

std::string ReferenceService::baseURL() const {
    // A wildcard address is reached through the loopback one.
    std::string host = options_.host;
    if (host == "0.0.0.0") host = "127.0.0.1";
    if (host == "::") host = "::1";
    if (host.find(':') != std::string::npos) host = "[" + host + "]";
    return "http://" + host + ":" + std::to_string(port_);
}

std::string ReferenceService::serviceURL() const {
    return baseURL() + kServicePath;
}

}  // namespace examora
