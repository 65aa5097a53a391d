#pragma once

#include <nlohmann/json.hpp>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/dict.h"
#include "platform/http_transport.h"
#include "platform/value.h"
#include "service/soap_params.h"

namespace examora {

// The typed client of the exam web service: every service method is one operation that builds
// its parameters, makes a synchronous SOAP 1.1 call and turns the result text into what the
// caller needs. Nothing here throws: every failure ends as the kind's empty value.
// Cheap to create; one instance belongs to one thread.
class ExamWebServiceUtil {
public:
    virtual ~ExamWebServiceUtil() = default;

    // --- call layer (exam_web_service_util_call.cpp) -----------------------------------------
    // One call of `method` with the parameters (nullopt: no parameter element at all) and a
    // time-out in seconds (below 1 keeps the 120-second default). Returns the single result
    // text, empty when there is none. Virtual so tests can stand in for the network.
    virtual std::string getRespondData(const std::string& method,
                                       const std::optional<SoapParams>& params,
                                       double timeoutSeconds);
    std::string getRespondData(const std::string& method, const std::optional<SoapParams>& params) {
        return getRespondData(method, params, 0);
    }
    // As getRespondData, collecting every part of the method's response element; nullopt when
    // the response has none.
    virtual std::optional<std::vector<std::string>> getRespondData_MutiResult(
        const std::string& method, const std::optional<SoapParams>& params, double timeoutSeconds);
    std::optional<std::vector<std::string>> getRespondData_MutiResult(
        const std::string& method, const std::optional<SoapParams>& params) {
        return getRespondData_MutiResult(method, params, 0);
    }
    // The transport the calls go through (the system's libcurl transport unless replaced).
    void setTransport(std::shared_ptr<HttpTransport> transport) {
        transport_ = std::move(transport);
    }

private:
    std::shared_ptr<HttpTransport> transport_;

public:
    // --- result text operations (exam_web_service_util_text.cpp) -----------------------------
    // Quoted TRUE/FALSE become 1/0, control characters are removed, then the text is parsed;
    // the top level must be an array or object. nullopt (and the log line "jsonerror->%@") on
    // malformed JSON.
    static std::optional<nlohmann::json> getJSONObject(const std::string& text);
    // Pretty-printed JSON text, or nullopt (and the log line "dic->%@") when it cannot be written.
    static std::optional<std::string> buildJSONString(const nlohmann::json& object);
    // Text forms joined by "," without spaces, null elements skipped.
    static std::string arrayListToString(const std::vector<Value>& list);
    // Null, length 0, or exactly "anyType{}".
    static bool isEmptyOfJOSN(const std::optional<std::string>& text);
    static bool isEmpty(const Value& v);
    static bool toBOOL(const std::optional<std::string>& text);
    static int toInt(const std::optional<std::string>& text);
    // A JSON object as a Dict for initWithDict: numbers stay numbers (booleans become 0/1),
    // strings stay text, JSON null becomes null, nested containers become their JSON text.
    static Dict jsonToDict(const nlohmann::json& object);

    // --- operation catalogue (exam_web_service_util_<group>.cpp) ------------------------------
};

}  // namespace examora
