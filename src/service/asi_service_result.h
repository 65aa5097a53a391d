#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/http_transport.h"
#include "service/asi_service_args.h"
#include "service/xml_parse_helper.h"

namespace examora {

class ASIServiceHTTPRequest;

// What one call returned: the response document and the result text(s) picked out of it.
//
// The response text is the body of a completed exchange with status 200, else empty. In
// single-result mode `xmlValue` is the text content of the first "<method>Result" element (empty
// when there is none). In multi-result mode `xmlValues` holds the serialized content of every
// child of the first "<method>Response" element (references stay escaped) and `xmlValue` the
// first of them; both are nullopt when that element is missing or has no children.
//
// A call counts as delivered when its response text holds the "<method>Response" element: the
// exchange completed with status 200 and the service answered the method (with a result or,
// for a method that returns nothing or null, without one). A dropped connection, a time-out, a
// fault, any other status or a document without that element is a failed call.
class ASIServiceResult {
  public:
    static ASIServiceResult instanceWithRequest(const ASIServiceHTTPRequest& request,
                                                const ASIServiceArgs& args);
    // From a response already reduced to its text (empty for a failed exchange).
    static ASIServiceResult fromResponseText(const std::string& responseText,
                                             const ASIServiceArgs& args);

    const ASIServiceArgs& args() const { return args_; }
    const XmlParseHelper& xmlParse() const { return xmlParse_; }
    const std::optional<std::string>& xmlValue() const { return xmlValue_; }
    const std::optional<std::vector<std::string>>& xmlValues() const { return xmlValues_; }
    bool delivered() const { return delivered_; }

    // The text of a response: its body when the exchange completed with status 200, else empty.
    static std::string responseText(const HttpResponse& response);

  private:
    ASIServiceResult(ASIServiceArgs args, XmlParseHelper parse);

    ASIServiceArgs args_;
    XmlParseHelper xmlParse_;
    std::optional<std::string> xmlValue_;
    std::optional<std::vector<std::string>> xmlValues_;
    bool delivered_ = false;
};

}  // namespace examora
