// RecordedRequest: one request the loopback service received, with its SOAP call.

#include "exam_service/recorded_request.h"

#include "platform/text_util.h"
#include "service/xml_parse_helper.h"

namespace examora {

namespace {
std::string localName(const std::string& name) {
    std::size_t colon = name.find(':');
    return colon == std::string::npos ? name : name.substr(colon + 1);
}
}  // namespace

std::string RecordedRequest::header(const std::string& name) const {
    for (const auto& [n, v] : headers) {
        if (equalsIgnoringCase(n, name)) return v;
    }
    return std::string();
}

const std::string* RecordedRequest::param(const std::string& name) const {
    for (const auto& [n, v] : soapParams) {
        if (n == name) return &v;
    }
    return nullptr;
}

void readSoapCall(RecordedRequest& request) {
    XmlParseHelper doc(request.body);
    auto envelope = doc.rootNode();
    if (!envelope || localName(envelope->Name()) != "Envelope") return;
    for (const XmlNode& part : envelope->ChildNodes()) {
        if (!part.isElement() || localName(part.Name()) != "Body") continue;
        for (const XmlNode& call : part.ChildNodes()) {
            if (!call.isElement()) continue;
            request.soapMethod = localName(call.Name());
            for (const XmlNode& param : call.ChildNodes()) {
                if (param.isElement()) {
                    request.soapParams.emplace_back(localName(param.Name()), param.InnerText());
                }
            }
            return;
        }
    }
}

}  // namespace examora
