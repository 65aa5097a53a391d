// ASIServiceResult: the result values read from a service response.

#include "service/asi_service_result.h"

#include "platform/strformat.h"
#include "service/asi_service_http_request.h"

namespace examora {

ASIServiceResult::ASIServiceResult(ASIServiceArgs args, XmlParseHelper parse)
    : args_(std::move(args)), xmlParse_(std::move(parse)) {
    const std::string& method = args_.methodName();
    if (!args_.multiResult()) {
        auto node = xmlParse_.getSingleNode(strformat("%@Result", method));
        xmlValue_ = node ? node->InnerText() : std::string();
        return;
    }
    auto response = xmlParse_.getSingleNode(strformat("%@Response", method));
    if (!response || !response->HasChildNodes()) return;
    std::vector<std::string> parts;
    for (const XmlNode& child : response->ChildNodes())
        parts.push_back(child.InnerXml());
    xmlValue_ = parts.front();
    xmlValues_ = std::move(parts);
}

std::string ASIServiceResult::responseText(const HttpResponse& response) {
    if (!response.completed() || response.status != 200) return std::string();
    return response.text();
}

ASIServiceResult ASIServiceResult::instanceWithRequest(const ASIServiceHTTPRequest& request,
                                                       const ASIServiceArgs& args) {
    return fromResponseText(responseText(request.response()), args);
}

ASIServiceResult ASIServiceResult::fromResponseText(const std::string& text,
                                                    const ASIServiceArgs& args) {
    return ASIServiceResult(args, XmlParseHelper(text));
}

}  // namespace examora
