// The reference exam service's HTTP front: binding, routing to the SOAP dispatcher, stopping.
#include "server/reference_service.h"

#include <httplib.h>

#include <chrono>

#include "platform/log.h"
#include "server/account_methods.h"
#include "server/catalogue_methods.h"
#include "server/content_methods.h"
#include "server/learner_methods.h"

namespace examora {

namespace {
// Larger request bodies are refused before they are read (learner uploads stay far below).
constexpr std::size_t kMaxRequestBytes = 64u << 20;
}  // namespace

ReferenceService::ReferenceService(ReferenceServiceOptions options)
    : options_(std::move(options)),
      store_(options_.dataDir),
      server_(std::make_unique<httplib::Server>()) {
    CatalogueMethods::registerWith(dispatcher_, store_);
    AccountMethods::registerWith(dispatcher_, store_);
    LearnerMethods::registerWith(dispatcher_, store_);
    ContentMethods::registerWith(dispatcher_, store_);
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
