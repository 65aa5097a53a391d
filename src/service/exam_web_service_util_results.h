#pragma once

// Shared by the operation catalogue's sources only: how parameters are written and how a
// result text becomes each result kind. Every mapping here ends in the kind's empty value on
// an empty, unreachable or malformed answer; none throws.

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

#include "platform/dict.h"
#include "platform/strformat.h"
#include "platform/value.h"
#include "service/exam_web_service_util.h"
#include "service/soap_params.h"

namespace examora::catalogue {

inline void setInt(SoapParams& p, const std::string& name, long long v) {
    p.set(name, strformat("%d", v));
}
inline void setLong(SoapParams& p, const std::string& name, long long v) {
    p.set(name, strformat("%ld", v));
}
inline void setFraction(SoapParams& p, const std::string& name, double v) {
    p.set(name, strformat("%f", v));
}
// nullopt is not sent.
inline void setText(SoapParams& p, const std::string& name, const std::optional<std::string>& v) {
    p.set(name, v);
}
// A null Value is not sent; anything else goes out as its text form. Only a true null is
// dropped: the text "NULL" is a learner's text like any other.
inline void setValue(SoapParams& p, const std::string& name, const Value& v) {
    if (v.isNull()) {
        p.set(name, std::nullopt);
    } else {
        p.set(name, v.asString());
    }
}

inline std::optional<nlohmann::json> jsonResult(const std::string& text) {
    if (ExamWebServiceUtil::isEmptyOfJOSN(text)) return std::nullopt;
    return ExamWebServiceUtil::getJSONObject(text);
}
inline bool boolResult(const std::string& text) {
    return !ExamWebServiceUtil::isEmptyOfJOSN(text) && ExamWebServiceUtil::toBOOL(text);
}
inline int intResult(const std::string& text) {
    return ExamWebServiceUtil::isEmptyOfJOSN(text) ? 0 : ExamWebServiceUtil::toInt(text);
}
inline std::optional<std::string> textResult(const std::string& text) {
    if (ExamWebServiceUtil::isEmptyOfJOSN(text)) return std::nullopt;
    return text;
}
inline std::string textOrEmpty(const std::string& text) {
    return ExamWebServiceUtil::isEmptyOfJOSN(text) ? std::string() : text;
}

// The "one record" rule: the answer must be a list of exactly one object.
inline std::optional<Dict> singleObject(const std::optional<nlohmann::json>& json) {
    if (!json || !json->is_array() || json->size() != 1 || !(*json)[0].is_object()) {
        return std::nullopt;
    }
    return ExamWebServiceUtil::jsonToDict((*json)[0]);
}

// A record filled from one service object.
template <class Record, class... Extra>
Record recordFrom(const Dict& object, Extra... extra) {
    Record record;
    record.initWithDict(&object, extra...);
    return record;
}

// A multi answer is usable only with exactly its two parts (result and output value).
inline bool isPair(const std::optional<std::vector<std::string>>& parts) {
    return parts && parts->size() == 2;
}

}  // namespace examora::catalogue
