// The loopback exam service's HTTP server.

#include "exam_service/exam_server.h"

#include <httplib.h>

#include <algorithm>

#include "exam_service/scripted_responses.h"

namespace examora {

ExamServer::ExamServer(std::shared_ptr<ExamServiceHandler> handler)
    : handler_(std::move(handler)), server_(std::make_unique<httplib::Server>()) {}

ExamServer::~ExamServer() {
    stop();
}

bool ExamServer::start() {
    if (thread_.joinable()) return true;
    if (started_) return false;
    started_ = true;
    auto route = [this](const httplib::Request& req, httplib::Response& res) {
        RecordedRequest recorded;
        recorded.method = req.method;
        recorded.path = req.path;
        for (const auto& [name, value] : req.headers)
            recorded.headers.emplace_back(name, value);
        recorded.body = req.body;
        readSoapCall(recorded);
        int status = 200;
        std::string contentType, body;
        std::vector<std::pair<std::string, std::string>> headers;
        serve(recorded, status, contentType, body, headers);
        // A plain 200 to a ranged request is left to httplib, which then cuts the body to the
        // range and answers 206.
        if (status != 200 || req.ranges.empty()) res.status = status;
        for (const auto& [name, value] : headers)
            res.set_header(name.c_str(), value);
        res.set_content(body, contentType.c_str());
    };
    server_->Get(".*", route);
    server_->Post(".*", route);
    server_->Put(".*", route);
    server_->Delete(".*", route);
    server_->set_keep_alive_timeout(1);
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) {
        port_ = 0;
        return false;
    }
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() only takes effect once the accept loop runs, so do not return before it does.
    for (int i = 0; i < 5000 && !server_->is_running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void ExamServer::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    stopped_.notify_all();
    if (thread_.joinable()) {
        server_->stop();
        thread_.join();
    }
}

void ExamServer::serve(const RecordedRequest& request, int& status, std::string& contentType,
                       std::string& body,
                       std::vector<std::pair<std::string, std::string>>& headers) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
    }
    ServiceReply reply =
        handler_ ? handler_->handle(request) : ServiceReply::raw(404, "Not Found", "text/plain");
    if (reply.delay.count() > 0) {
        const auto delay = std::min<std::chrono::milliseconds>(reply.delay, kMaxDelay);
        std::unique_lock<std::mutex> lock(mutex_);
        stopped_.wait_for(lock, delay, [this] { return stopping_; });
    }
    status = reply.status;
    contentType = reply.contentType;
    body = std::move(reply.body);
    headers = std::move(reply.headers);
}

std::string ExamServer::baseURL() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

std::string ExamServer::serviceURL() const {
    return baseURL() + ScriptedResponses::kServicePath;
}

std::vector<RecordedRequest> ExamServer::requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

void ExamServer::clearRequests() {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.clear();
}

}  // namespace examora
