// ScriptedResponses: the loopback service's replies scripted per method.

#include "exam_service/scripted_responses.h"

namespace examora {

ServiceReply ScriptedResponses::handle(const RecordedRequest& request) {
    if (request.path != kServicePath) return ServiceReply::raw(404, "Not Found", "text/plain");
    if (request.method != "POST" || request.soapMethod.empty()) {
        return ServiceReply::soapFault("Unable to handle request without a valid action parameter.",
                                       "soap:Client");
    }
    Script script;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = scripts_.find(request.soapMethod);
        if (it == scripts_.end()) {
            return ServiceReply::soapFault(
                "Server did not recognize the value of HTTP Header "
                "SOAPAction: " +
                    request.header("SOAPAction") + ".",
                "soap:Client");
        }
        script = it->second;
    }
    ServiceReply reply = script.responder ? script.responder(request)
                                          : ServiceReply::soapResult(request.soapMethod, "");
    reply.delay = script.delay;
    return reply;
}

void ScriptedResponses::setResult(const std::string& method, const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::string ns = nameSpace_;
    scripts_[method].responder = [method, text, ns](const RecordedRequest&) {
        return ServiceReply::soapResult(method, text, ns);
    };
}

void ScriptedResponses::setParts(const std::string& method,
                                 const std::vector<std::pair<std::string, std::string>>& parts) {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::string ns = nameSpace_;
    scripts_[method].responder = [method, parts, ns](const RecordedRequest&) {
        return ServiceReply::soapParts(method, parts, ns);
    };
}

void ScriptedResponses::setFault(const std::string& method, const std::string& faultString) {
    std::lock_guard<std::mutex> lock(mutex_);
    scripts_[method].responder = [faultString](const RecordedRequest&) {
        return ServiceReply::soapFault(faultString);
    };
}

void ScriptedResponses::setRaw(const std::string& method, int status, const std::string& body) {
    std::lock_guard<std::mutex> lock(mutex_);
    scripts_[method].responder = [status, body](const RecordedRequest&) {
        return ServiceReply::raw(status, body);
    };
}

void ScriptedResponses::setResponder(const std::string& method, Responder responder) {
    std::lock_guard<std::mutex> lock(mutex_);
    scripts_[method].responder = std::move(responder);
}

void ScriptedResponses::setDelay(const std::string& method, std::chrono::milliseconds delay) {
    std::lock_guard<std::mutex> lock(mutex_);
    scripts_[method].delay = delay;
}

void ScriptedResponses::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    scripts_.clear();
}

void ScriptedResponses::setNameSpace(const std::string& ns) {
    std::lock_guard<std::mutex> lock(mutex_);
    nameSpace_ = ns;
}

}  // namespace examora
