#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace examora {

// What the loopback service answers to one request.
struct ServiceReply {
    int status = 200;
    std::string contentType = "text/xml; charset=utf-8";
    std::string body;
    // Held back this long before answering (cut short when the service stops).
    std::chrono::milliseconds delay{0};
    std::vector<std::pair<std::string, std::string>> headers;

    // A SOAP 1.1 response the way an ASP.NET service writes it: "<method>Response" in the
    // service namespace (a default namespace, no prefixes inside) holding one element per part,
    // texts escaped.
    static ServiceReply soapParts(const std::string& method,
                                  const std::vector<std::pair<std::string, std::string>>& parts,
                                  const std::string& nameSpace = "http://tempuri.org/");
    // The usual single result: one part named "<method>Result".
    static ServiceReply soapResult(const std::string& method, const std::string& text,
                                   const std::string& nameSpace = "http://tempuri.org/");
    // A SOAP 1.1 fault with status 500.
    static ServiceReply soapFault(const std::string& faultString,
                                  const std::string& faultCode = "soap:Server");
    static ServiceReply raw(int status, std::string body,
                            std::string contentType = "text/xml; charset=utf-8");
};


}  // namespace examora
