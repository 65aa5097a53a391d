#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "exam_service/exam_service_handler.h"
#include "exam_service/recorded_request.h"

namespace httplib {
class Server;
}

namespace examora {

// An HTTP server on 127.0.0.1 and a free port that records every request and answers it
// through a handler. Stopping cuts every held-back reply short, so shutdown never waits on a
// scripted delay.
class ExamServer {
  public:
    explicit ExamServer(std::shared_ptr<ExamServiceHandler> handler);
    ~ExamServer();
    ExamServer(const ExamServer&) = delete;
    ExamServer& operator=(const ExamServer&) = delete;

    // Binds and starts serving on a background thread; false when no port could be bound or the
    // server has already been stopped (a server runs once).
    bool start();
    void stop();

    int port() const { return port_; }
    // "http://127.0.0.1:<port>"
    std::string baseURL() const;
    // The SOAP endpoint on this server.
    std::string serviceURL() const;

    std::vector<RecordedRequest> requests() const;
    void clearRequests();

    // The longest any reply is held back, whatever the script asks.
    static constexpr std::chrono::seconds kMaxDelay{30};

  private:
    void serve(const RecordedRequest& request, int& status, std::string& contentType,
               std::string& body, std::vector<std::pair<std::string, std::string>>& headers);

    std::shared_ptr<ExamServiceHandler> handler_;
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
    bool started_ = false;

    mutable std::mutex mutex_;
    std::condition_variable stopped_;
    bool stopping_ = false;
    std::vector<RecordedRequest> requests_;
};

}  // namespace examora
