#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "server/service_reply.h"
#include "server/soap_request.h"

namespace examora {

// Routes a SOAP 1.1 call to the handler of its method, after checking the MGSoapHeader
// credentials. Every request ends in a complete answer: a malformed envelope, an unknown method,
// wrong credentials or a handler that throws end as a soap:Fault with status 500.
//
// A handler throws std::invalid_argument for a parameter it cannot use (answered as a soap:Client
// fault); any other exception is answered as a soap:Server fault.
//
// Handlers are added before serving starts; handle() may then run on several threads at once.
class SoapDispatcher {
  public:
    using Handler = std::function<ServiceReply(const SoapRequest&)>;

    // The application's fixed header credentials.
    static constexpr const char* kHeaderUser = "zxexam";
    static constexpr const char* kHeaderPassword = "583quiz";

    // A method's handler; a later one for the same method replaces the earlier.
    void add(const std::string& method, Handler handler);
    bool handles(const std::string& method) const { return handlers_.count(method) > 0; }

    ServiceReply handle(std::string_view body, std::string_view soapAction) const;

  private:
    std::map<std::string, Handler, std::less<>> handlers_;
};

// A fault for a call the client got wrong (a missing or malformed parameter): soap:Client.
ServiceReply clientFault(const std::string& reason);

}  // namespace examora
