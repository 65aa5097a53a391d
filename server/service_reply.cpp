// The SOAP 1.1 reply writer shared by the reference exam service and the scripted test double.
#include "server/service_reply.h"

#include "platform/text_util.h"

namespace examora {

namespace {
constexpr const char* kEnvelopeStart =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body>";
constexpr const char* kEnvelopeEnd = "</soap:Body></soap:Envelope>";

std::string attributeText(const std::string& s) {
    return replaceAll(xmlEscapeText(s), "\"", "&quot;");
}

// Element text that any XML parser reads back as it was: the control characters XML 1.0 cannot
// carry are dropped (one would make the whole answer unreadable), a carriage return is written as
// a reference so that line-end normalisation keeps it.
std::string elementText(const std::string& s) {
    std::string kept;
    kept.reserve(s.size());
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\t' && c != '\n' && c != '\r') continue;
        kept += c;
    }
    return replaceAll(xmlEscapeText(kept), "\r", "&#xD;");
}
}  // namespace

ServiceReply ServiceReply::soapParts(const std::string& method, const std::vector<Part>& parts,
                                     const std::string& nameSpace) {
    ServiceReply reply;
    std::string& b = reply.body;
    b = kEnvelopeStart;
    b += "<" + method + "Response xmlns=\"" + attributeText(nameSpace) + "\">";
    for (const Part& part : parts) {
        if (part.text) {
            b += "<" + part.name + ">" + elementText(*part.text) + "</" + part.name + ">";
        } else {
            b += "<" + part.name + " xsi:nil=\"true\" />";
        }
    }
    b += "</" + method + "Response>";
    b += kEnvelopeEnd;
    return reply;
}

ServiceReply ServiceReply::soapParts(const std::string& method,
                                     const std::vector<std::pair<std::string, std::string>>& parts,
                                     const std::string& nameSpace) {
    std::vector<Part> all;
    all.reserve(parts.size());
    for (const auto& [name, text] : parts)
        all.push_back(Part{name, text});
    return soapParts(method, all, nameSpace);
}

ServiceReply ServiceReply::soapResult(const std::string& method, const std::string& text,
                                      const std::string& nameSpace) {
    return soapParts(method, std::vector<Part>{{method + "Result", text}}, nameSpace);
}

ServiceReply ServiceReply::soapAnswer(const std::string& method,
                                      const std::optional<std::string>& result,
                                      const std::vector<Part>& outParameters,
                                      const std::string& nameSpace) {
    std::vector<Part> all;
    all.reserve(outParameters.size() + 1);
    if (result) all.push_back(Part{method + "Result", result});
    all.insert(all.end(), outParameters.begin(), outParameters.end());
    return soapParts(method, all, nameSpace);
}

ServiceReply ServiceReply::soapFault(const std::string& faultString, const std::string& faultCode) {
    ServiceReply reply;
    reply.status = 500;
    reply.body = std::string(kEnvelopeStart) + "<soap:Fault><faultcode>" + faultCode +
                 "</faultcode><faultstring>" + elementText(faultString) +
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
