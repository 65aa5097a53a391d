// Reading a SOAP 1.1 call out of a request body for the reference service.
#include "server/soap_request.h"

#include <charconv>

#include "platform/text_util.h"
#include "service/xml_parse_helper.h"

namespace examora {

namespace {

std::string localName(const std::string& name) {
    const std::size_t colon = name.find(':');
    return colon == std::string::npos ? name : name.substr(colon + 1);
}

bool isNil(const XmlNode& node) {
    for (const auto& [name, value] : node.Attributes()) {
        if (localName(name) == "nil" && (value == "true" || value == "1")) return true;
    }
    return false;
}

std::vector<XmlNode> elements(const XmlNode& node) {
    std::vector<XmlNode> out;
    for (const XmlNode& child : node.ChildNodes()) {
        if (child.isElement()) out.push_back(child);
    }
    return out;
}

void readHeader(const XmlNode& header, SoapRequest& request) {
    for (const XmlNode& entry : elements(header)) {
        if (localName(entry.Name()) != "MGSoapHeader") continue;
        for (const XmlNode& field : elements(entry)) {
            const std::string name = localName(field.Name());
            if (name == "UserID" && !request.headerUser) request.headerUser = field.InnerText();
            if (name == "Password" && !request.headerPassword) {
                request.headerPassword = field.InnerText();
            }
        }
        return;
    }
}

// The method named by a SOAP action: what follows the last "/" (the action is the service
// namespace followed by the method).
std::string actionMethod(std::string_view action) {
    std::string text = trim(action);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
    }
    const std::size_t slash = text.rfind('/');
    return slash == std::string::npos ? text : text.substr(slash + 1);
}

}  // namespace

std::optional<std::string> SoapRequest::param(std::string_view name) const {
    for (const auto& [n, v] : params) {
        if (n == name) return v;
    }
    return std::nullopt;
}

std::string SoapRequest::text(std::string_view name) const {
    return param(name).value_or(std::string());
}

std::optional<long long> SoapRequest::integer(std::string_view name) const {
    const std::string value = trim(text(name));
    long long n = 0;
    auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (value.empty() || ec != std::errc() || end != value.data() + value.size()) {
        return std::nullopt;
    }
    return n;
}

std::optional<SoapRequest> SoapRequest::parse(std::string_view body, std::string_view soapAction,
                                              std::string& error) {
    XmlParseHelper doc(body);
    std::optional<XmlNode> envelope = doc.rootNode();
    if (!envelope || localName(envelope->Name()) != "Envelope") {
        error = "The request is not a SOAP envelope.";
        return std::nullopt;
    }
    SoapRequest request;
    std::optional<XmlNode> callBody;
    for (const XmlNode& part : elements(*envelope)) {
        const std::string name = localName(part.Name());
        if (name == "Header") readHeader(part, request);
        if (name == "Body" && !callBody) callBody = part;
    }
    if (!callBody) {
        error = "The SOAP envelope has no body.";
        return std::nullopt;
    }
    const std::vector<XmlNode> calls = elements(*callBody);
    if (calls.size() != 1) {
        error = "The SOAP body must hold exactly one call element.";
        return std::nullopt;
    }
    request.method = localName(calls[0].Name());
    for (const XmlNode& param : elements(calls[0])) {
        std::optional<std::string> value;
        if (!isNil(param)) value = param.InnerText();
        request.params.emplace_back(localName(param.Name()), std::move(value));
    }
    const std::string action = actionMethod(soapAction);
    if (!action.empty() && action != request.method) {
        error = "Server did not recognize the value of HTTP Header SOAPAction: " +
                std::string(soapAction) + ".";
        return std::nullopt;
    }
    return request;
}

}  // namespace examora
