// ExamWebServiceUtil: server time, reachability, application version and settings.

#include "service/exam_web_service_util.h"
#include "service/exam_web_service_util_results.h"

namespace examora {

using namespace catalogue;

namespace {
// Waiting for the server's clock is the reachability test; a caller that gives no usable
// time-out gets five minutes rather than the ordinary two.
constexpr double kOnlineCheckDefaultSeconds = 300;
}  // namespace

std::optional<std::string> ExamWebServiceUtil::getServerTime() {
    return textResult(getRespondData("GetServerTime", std::nullopt));
}

bool ExamWebServiceUtil::checkIsOnline(double timeoutSeconds) {
    double timeout = timeoutSeconds >= 1 ? timeoutSeconds : kOnlineCheckDefaultSeconds;
    return !isEmptyOfJOSN(getRespondData("GetServerTime", std::nullopt, timeout));
}

std::string ExamWebServiceUtil::getAppVersion() {
    SoapParams p;
    setText(p, "appType", "1");
    return getRespondData("GetAppVersion", p);
}

std::string ExamWebServiceUtil::getAppSettingValue(const std::optional<std::string>& itemName) {
    SoapParams p;
    setText(p, "itemName", itemName);
    return getRespondData("GetAppSettingValue", p);
}

}  // namespace examora
