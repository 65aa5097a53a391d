#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace examora {

// One answer of an exam service over HTTP: status, content type, body, extra headers. The SOAP
// forms are written as an ASP.NET web service writes them, so the client's parser meets the same
// documents from the reference service, the scripted test double and a real deployment.
struct ServiceReply {
    static constexpr const char* kServiceNamespace = "http://tempuri.org/";

    int status = 200;
    std::string contentType = "text/xml; charset=utf-8";
    std::string body;
    // Held back this long before answering (cut short when the service stops).
    std::chrono::milliseconds delay{0};
    std::vector<std::pair<std::string, std::string>> headers;

    // One child of "<method>Response": a result or an out (or ref) parameter. A null text is
    // written as an empty element marked xsi:nil="true".
    struct Part {
        std::string name;
        std::optional<std::string> text;
    };

    // A SOAP 1.1 response: "<method>Response" in the service namespace (a default namespace, no
    // prefixes inside) holding one element per part, texts escaped.
    static ServiceReply soapParts(const std::string& method,
                                  const std::vector<std::pair<std::string, std::string>>& parts,
                                  const std::string& nameSpace = kServiceNamespace);
    static ServiceReply soapParts(const std::string& method, const std::vector<Part>& parts,
                                  const std::string& nameSpace = kServiceNamespace);
    // The usual single result: one part named "<method>Result".
    static ServiceReply soapResult(const std::string& method, const std::string& text,
                                   const std::string& nameSpace = kServiceNamespace);
    // A method's answer with its out and ref parameters as siblings after the result. A null
    // result is left out, as ASP.NET leaves out a null return value; null out parameters stay,
    // marked nil, so the parts keep their positions.
    static ServiceReply soapAnswer(const std::string& method,
                                   const std::optional<std::string>& result,
                                   const std::vector<Part>& outParameters = {},
                                   const std::string& nameSpace = kServiceNamespace);
    // A SOAP 1.1 fault with status 500.
    static ServiceReply soapFault(const std::string& faultString,
                                  const std::string& faultCode = "soap:Server");
    static ServiceReply raw(int status, std::string body,
                            std::string contentType = "text/xml; charset=utf-8");
};

}  // namespace examora
