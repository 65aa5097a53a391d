// ASIServiceHTTPRequest: one service call run once, and its parsed result.

#include "service/asi_service_http_request.h"

namespace examora {

ASIServiceHTTPRequest::ASIServiceHTTPRequest(const ASIServiceArgs& args,
                                             std::shared_ptr<HttpTransport> transport)
    : args_(args), transport_(transport ? std::move(transport) : HttpTransport::systemTransport()) {
    http_.url = args_.requestURL();
}

ASIServiceHTTPRequest ASIServiceHTTPRequest::requestWithArgs(
    const ASIServiceArgs& args, std::shared_ptr<HttpTransport> transport) {
    return ASIServiceHTTPRequest(args, std::move(transport));
}

void ASIServiceHTTPRequest::setArgs(const ASIServiceArgs& args) {
    args_ = args;
    result_.reset();
}

void ASIServiceHTTPRequest::initRequestParams() {
    http_ = HttpRequest{};
    http_.url = args_.requestURL();
    http_.headers = args_.headers();
    http_.timeoutSeconds = args_.timeOutSeconds();
    http_.method = args_.requestMethod();
    http_.defaultEncoding = args_.defaultEncoding();
    http_.body = args_.requestBodyMessage();
}

void ASIServiceHTTPRequest::startSynchronous() {
    initRequestParams();
    result_.reset();
    response_ = transport_->perform(http_);
}

const ASIServiceResult& ASIServiceHTTPRequest::ServiceResult() {
    if (!result_) result_ = ASIServiceResult::instanceWithRequest(*this, args_);
    return *result_;
}

}  // namespace examora
