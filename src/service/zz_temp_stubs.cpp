// Temporary stand-in for the call layer and text operations so this branch links on its own;
// deleted when the call layer is merged.
#include <regex>

#include "platform/text_util.h"
#include "service/exam_web_service_util.h"

namespace examora {

std::string ExamWebServiceUtil::getRespondData(const std::string&, const std::optional<SoapParams>&,
                                               double) {
    return {};
}
std::optional<std::vector<std::string>> ExamWebServiceUtil::getRespondData_MutiResult(
    const std::string&, const std::optional<SoapParams>&, double) {
    return std::nullopt;
}
std::optional<nlohmann::json> ExamWebServiceUtil::getJSONObject(const std::string& text) {
    std::string t = replaceAll(replaceAll(text, "\"TRUE\"", "1"), "\"FALSE\"", "0");
    std::string clean;
    for (char c : t)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) clean += c;
    try {
        auto j = nlohmann::json::parse(clean);
        if (!j.is_array() && !j.is_object()) return std::nullopt;
        return j;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}
std::optional<std::string> ExamWebServiceUtil::buildJSONString(const nlohmann::json& object) {
    try {
        return object.dump(2);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}
std::string ExamWebServiceUtil::arrayListToString(const std::vector<Value>& list) {
    std::string out;
    bool first = true;
    for (const Value& v : list) {
        if (v.isNull()) continue;
        if (!first) out += ",";
        out += v.asString();
        first = false;
    }
    return out;
}
bool ExamWebServiceUtil::isEmptyOfJOSN(const std::optional<std::string>& text) {
    return !text || text->empty() || *text == "anyType{}";
}
bool ExamWebServiceUtil::isEmpty(const Value& v) { return examora::isEmpty(v); }
bool ExamWebServiceUtil::toBOOL(const std::optional<std::string>& text) {
    return !examora::isEmpty(text) && Value(*text).asBool();
}
int ExamWebServiceUtil::toInt(const std::optional<std::string>& text) {
    return examora::isEmpty(text) ? 0 : Value(*text).asInt();
}
Dict ExamWebServiceUtil::jsonToDict(const nlohmann::json& object) {
    Dict d;
    for (auto it = object.begin(); it != object.end(); ++it) {
        const auto& v = it.value();
        if (v.is_null()) d.set(it.key(), Value());
        else if (v.is_boolean()) d.set(it.key(), Value(v.get<bool>()));
        else if (v.is_number_integer()) d.set(it.key(), Value(v.get<std::int64_t>()));
        else if (v.is_number()) d.set(it.key(), Value(v.get<double>()));
        else if (v.is_string()) d.set(it.key(), Value(v.get<std::string>()));
        else d.set(it.key(), Value(v.dump()));
    }
    return d;
}

}  // namespace examora
