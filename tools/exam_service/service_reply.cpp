// ServiceReply: what the loopback service answers to one request.

#include "exam_service/service_reply.h"

#include "platform/text_util.h"

namespace examora {

namespace {
constexpr const char* kEnvelopeStart =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body>";
constexpr const char* kEnvelopeEnd = "</soap:Body></soap:Envelope>";
}  // namespace

ServiceReply ServiceReply::soapParts(const std::string& method,
                                     const std::vector<std::pair<std::string, std::string>>& parts,
                                     const std::string& nameSpace) {
    ServiceReply reply;
    std::string& b = reply.body;
    b = kEnvelopeStart;
    b += "<" + method + "Response xmlns=\"" + nameSpace + "\">";
    for (const auto& [name, text] : parts) {
        b += "<" + name + ">" + xmlEscapeText(text) + "</" + name + ">";
    }
    b += "</" + method + "Response>";
    b += kEnvelopeEnd;
    return reply;
}

ServiceReply ServiceReply::soapResult(const std::string& method, const std::string& text,
                                      const std::string& nameSpace) {
    return soapParts(method, {{method + "Result", text}}, nameSpace);
}

ServiceReply ServiceReply::soapFault(const std::string& faultString, const std::string& faultCode) {
    ServiceReply reply;
    reply.status = 500;
    reply.body = std::string(kEnvelopeStart) + "<soap:Fault><faultcode>" + faultCode +
                 "</faultcode><faultstring>" + xmlEscapeText(faultString) +
                 "</faultstring><detail /></soap:Fault>" + kEnvelopeEnd;
    return reply;
}

ServiceReply ServiceReply::raw(int status, std::string body, std::string contentType) {
    ServiceReply reply;
    reply.status = status;
    reply.body = std::move(body);
    reply.contentType = std::move(contentType);
    return reply;
}

}  // namespace examora
