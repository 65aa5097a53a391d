#pragma once

#include <memory>
#include <optional>

#include "platform/http_transport.h"
#include "service/asi_service_args.h"
#include "service/asi_service_result.h"

namespace examora {

// One service call on its way: the call description, the transport request configured from it,
// the response, and the result parsed from the response on first use. A request runs once.
class ASIServiceHTTPRequest {
  public:
    // A request for the description's URL through `transport` (the system transport when null).
    static ASIServiceHTTPRequest requestWithArgs(
        const ASIServiceArgs& args, std::shared_ptr<HttpTransport> transport = nullptr);

    const ASIServiceArgs& args() const { return args_; }
    // Replaces the description; a result parsed under the old one is discarded.
    void setArgs(const ASIServiceArgs& args);

    // Copies URL, headers, time-out, method, response encoding and body from the description
    // into the transport request.
    void initRequestParams();
    // The transport request as configured (after initRequestParams or startSynchronous).
    const HttpRequest& configuredRequest() const { return http_; }

    // Configures and runs the request; returns when the response (or an error) is in.
    void startSynchronous();

    const HttpResponse& response() const { return response_; }
    long responseStatusCode() const { return response_.status; }
    const std::optional<std::string>& error() const { return response_.error; }
    std::string responseString() const { return response_.text(); }

    // The result of this request under its description, built on first use and then kept.
    const ASIServiceResult& ServiceResult();

  private:
    ASIServiceHTTPRequest(const ASIServiceArgs& args, std::shared_ptr<HttpTransport> transport);

    ASIServiceArgs args_;
    std::shared_ptr<HttpTransport> transport_;
    HttpRequest http_;
    HttpResponse response_;
    std::optional<ASIServiceResult> result_;
};

}  // namespace examora
