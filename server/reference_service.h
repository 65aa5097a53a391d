#pragma once

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "server/course_package.h"
#include "server/service_store.h"
#include "server/soap_dispatcher.h"

namespace httplib {
class Server;
}

namespace examora {

struct ReferenceServiceOptions {
    std::string dataDir;  // the store's folder, created when missing
    std::string host = "127.0.0.1";
    int port = 0;  // 0: a free port
};

// examora-service in-process: the reference exam service over HTTP, answering the client's SOAP
// 1.1 calls at "/CL.ExamWebService/ExamJsonService.asmx" from its own ServiceStore.
//
// The store is opened by the constructor, so it can be filled before start(). start() binds and
// serves on background threads until stop() (or destruction); a service runs once. Every
// operation may be called from any thread.
class ReferenceService {
  public:
    static constexpr const char* kServicePath = "/CL.ExamWebService/ExamJsonService.asmx";
    // Course packages are served beside the service: the client cuts the service address after
    // its last "/" and appends "subject/<name>.zip".
    static constexpr const char* kPackagePath = "/CL.ExamWebService/subject/";

    explicit ReferenceService(ReferenceServiceOptions options);
    ~ReferenceService();
    ReferenceService(const ReferenceService&) = delete;
    ReferenceService& operator=(const ReferenceService&) = delete;

    // False when the store did not open, the address could not be bound, or the service was
    // stopped before.
    bool start();
    void stop();

    int port() const { return port_; }
    // "http://<host>:<port>"
    std::string baseURL() const;
    // baseURL() + kServicePath
    std::string serviceURL() const;

    ServiceStore& store() { return store_; }
    CoursePackage& packages() { return packages_; }
    // The service's clock as local text "yyyy-MM-dd HH:mm:ss" (the wall clock by default).
    void setClock(std::function<std::string()> nowText) { store_.setClock(std::move(nowText)); }

    // The method table, for adding methods before start().
    SoapDispatcher& dispatcher() { return dispatcher_; }

  private:
    ReferenceServiceOptions options_;
    ServiceStore store_;
    CoursePackage packages_;
    SoapDispatcher dispatcher_;
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;  // the accept loop; requests run on the server's own worker pool
    int port_ = 0;
    bool started_ = false;
};

}  // namespace examora
