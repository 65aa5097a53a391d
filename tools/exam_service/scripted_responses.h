#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <string>

#include "exam_service/exam_service_handler.h"

namespace examora {

// Answers SOAP calls at the service path from replies scripted per method; other paths get 404,
// unscripted methods a SOAP fault as an ASP.NET service gives for an unknown action. Scripts may
// be changed while the service runs.
class ScriptedResponses : public ExamServiceHandler {
  public:
    using Responder = std::function<ServiceReply(const RecordedRequest&)>;

    static constexpr const char* kServicePath = "/CL.ExamWebService/ExamJsonService.asmx";

    ServiceReply handle(const RecordedRequest& request) override;

    // "<method>Result" holding the text.
    void setResult(const std::string& method, const std::string& text);
    // Several named parts in "<method>Response", in order.
    void setParts(const std::string& method,
                  const std::vector<std::pair<std::string, std::string>>& parts);
    // A SOAP fault with status 500.
    void setFault(const std::string& method, const std::string& faultString);
    // Any status and body as given (a non-200 page, a malformed document, ...).
    void setRaw(const std::string& method, int status, const std::string& body);
    // A reply computed per request.
    void setResponder(const std::string& method, Responder responder);
    // Holds the method's reply back (bounded by the service's stop).
    void setDelay(const std::string& method, std::chrono::milliseconds delay);
    void clear();

    // The namespace of the response elements (the service's own).
    void setNameSpace(const std::string& ns);

  private:
    struct Script {
        Responder responder;
        std::chrono::milliseconds delay{0};
    };
    std::mutex mutex_;
    std::map<std::string, Script> scripts_;
    std::string nameSpace_ = "http://tempuri.org/";
};

}  // namespace examora
