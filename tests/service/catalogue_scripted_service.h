#pragma once

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "service/exam_web_service_util.h"

namespace examora::testing {

// Stands in for the network: records every call the catalogue makes and answers with
// scripted result texts (an empty text, or no parts, once the script runs out: a failed call).
class ScriptedService : public ExamWebServiceUtil {
  public:
    using Param = std::pair<std::string, std::string>;

    struct Call {
        std::string method;
        std::optional<std::vector<Param>> params;  // nullopt: no parameter element
        double timeoutSeconds = 0;
        bool multi = false;
    };

    using ExamWebServiceUtil::getRespondData;
    using ExamWebServiceUtil::getRespondData_MutiResult;

    std::string getRespondData(const std::string& method, const std::optional<SoapParams>& params,
                               double timeoutSeconds) override {
        record(method, params, timeoutSeconds, false);
        setLastCallDelivered(!replies.empty());
        if (replies.empty()) return {};
        std::string reply = replies.front();
        replies.pop_front();
        return reply;
    }

    std::optional<std::vector<std::string>> getRespondData_MutiResult(
        const std::string& method, const std::optional<SoapParams>& params,
        double timeoutSeconds) override {
        record(method, params, timeoutSeconds, true);
        setLastCallDelivered(!multiReplies.empty());
        if (multiReplies.empty()) return std::nullopt;
        auto reply = multiReplies.front();
        multiReplies.pop_front();
        return reply;
    }

    // The one call made; fails the test when there was not exactly one.
    const Call& onlyCall() const {
        static const Call kNone{"<no single call>", std::nullopt, 0, false};
        return calls.size() == 1 ? calls.front() : kNone;
    }

    std::deque<std::string> replies;
    std::deque<std::optional<std::vector<std::string>>> multiReplies;
    std::vector<Call> calls;

  private:
    void record(const std::string& method, const std::optional<SoapParams>& params, double timeout,
                bool multi) {
        Call call{method, std::nullopt, timeout, multi};
        if (params) call.params = std::vector<Param>(params->begin(), params->end());
        calls.push_back(std::move(call));
    }
};

// The parameters of a call as "name=value" words in order; "-" for no parameter element.
inline std::string wire(const ScriptedService::Call& call) {
    if (!call.params) return "-";
    std::string text;
    for (const auto& [name, value] : *call.params)
        text += (text.empty() ? "" : " ") + name + "=" + value;
    return text;
}

}  // namespace examora::testing
