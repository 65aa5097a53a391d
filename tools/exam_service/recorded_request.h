#pragma once

#include <string>
#include <utility>
#include <vector>

namespace examora {

// One request as the loopback service received it, with the SOAP call read out of the body
// (empty method and parameters when the body is not a SOAP envelope).
struct RecordedRequest {
    std::string method;  // HTTP method
    std::string path;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    std::string soapMethod;                                       // local name of the call element
    std::vector<std::pair<std::string, std::string>> soapParams;  // name → decoded text, in order

    // The first header with the name (ignoring case), or the empty text.
    std::string header(const std::string& name) const;
    // The decoded text of the named parameter, or nullptr when it was not sent.
    const std::string* param(const std::string& name) const;
};

// Reads the call element of a SOAP 1.1 or 1.2 envelope into `request`.
void readSoapCall(RecordedRequest& request);

}  // namespace examora
