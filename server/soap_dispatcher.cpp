// Routing SOAP calls of the reference service to their handlers, with the header check.
#include "server/soap_dispatcher.h"

#include <exception>
#include <stdexcept>

#include "platform/log.h"

namespace examora {

void SoapDispatcher::add(const std::string& method, Handler handler) {
    handlers_[method] = std::move(handler);
}

ServiceReply SoapDispatcher::handle(std::string_view body, std::string_view soapAction) const {
    std::string error;
    std::optional<SoapRequest> request = SoapRequest::parse(body, soapAction, error);
    if (!request) return clientFault(error);
    auto found = handlers_.find(request->method);
    if (found == handlers_.end()) {
        return clientFault("Server did not recognize the method " + request->method + ".");
    }
    if (request->headerUser != kHeaderUser || request->headerPassword != kHeaderPassword) {
        return clientFault("The MGSoapHeader credentials are missing or wrong.");
    }
    try {
        return found->second(*request);
    } catch (const std::invalid_argument& e) {
        return clientFault(e.what());
    } catch (const std::exception& e) {
        logf("service %@ error:%@", request->method, std::string(e.what()));
        return ServiceReply::soapFault("Server was unable to process request. ---> " +
                                       std::string(e.what()));
    } catch (...) {
        return ServiceReply::soapFault("Server was unable to process request.");
    }
}

ServiceReply clientFault(const std::string& reason) {
    return ServiceReply::soapFault(reason, "soap:Client");
}

}  // namespace examora
