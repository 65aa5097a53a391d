#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace examora {

// One SOAP 1.1 call as the reference service receives it: the method (the local name of the
// element in soap:Body), its parameters and the MGSoapHeader credentials.
struct SoapRequest {
    std::string method;
    // Parameter name → decoded text, in document order; a parameter marked xsi:nil is nullopt.
    std::vector<std::pair<std::string, std::optional<std::string>>> params;
    std::optional<std::string> headerUser;
    std::optional<std::string> headerPassword;

    // The text of the named parameter (the first one of that name); nullopt when it was not
    // sent or was sent nil.
    std::optional<std::string> param(std::string_view name) const;
    // As param, the empty text for a missing one.
    std::string text(std::string_view name) const;
    // The parameter as a decimal integer; nullopt when missing or not a whole number.
    std::optional<long long> integer(std::string_view name) const;

    // Reads a SOAP 1.1 envelope. The SOAP action, when given (quotes allowed), must name the same
    // method as the body. nullopt with the reason in `error` when the document is not a SOAP
    // envelope with one call element in its body, or the action disagrees.
    static std::optional<SoapRequest> parse(std::string_view body, std::string_view soapAction,
                                            std::string& error);
};

}  // namespace examora
