// ExamWebServiceUtil: the call layer, one SOAP call and its result text.

#include "service/asi_service_http_request.h"
#include "service/exam_web_service_util.h"

namespace examora {

namespace {

ASIServiceArgs describeCall(const std::string& method, const std::optional<SoapParams>& params,
                            double timeoutSeconds, bool multiResult) {
    ASIServiceArgs args;
    args.setMethodName(method);
    if (params) args.setSoapParams(*params);
    // Below one second (0 included) means "no preference": the default time-out stays.
    if (timeoutSeconds >= 1) args.setTimeOutSeconds(timeoutSeconds);
    args.setMultiResult(multiResult);
    return args;
}

}  // namespace

std::string ExamWebServiceUtil::getRespondData(const std::string& method,
                                               const std::optional<SoapParams>& params,
                                               double timeoutSeconds) {
    auto request = ASIServiceHTTPRequest::requestWithArgs(
        describeCall(method, params, timeoutSeconds, false), transport_);
    request.startSynchronous();
    return request.ServiceResult().xmlValue().value_or(std::string());
}

std::optional<std::vector<std::string>> ExamWebServiceUtil::getRespondData_MutiResult(
    const std::string& method, const std::optional<SoapParams>& params, double timeoutSeconds) {
    auto request = ASIServiceHTTPRequest::requestWithArgs(
        describeCall(method, params, timeoutSeconds, true), transport_);
    request.startSynchronous();
    return request.ServiceResult().xmlValues();
}

}  // namespace examora
