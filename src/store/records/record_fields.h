#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/dict.h"
#include "platform/value.h"
#include "store/base_entity.h"

namespace examora::record_fields {

// Readers shared by the records' initWithDict: each reads one key of a row or service object
// and gives the field's empty value (empty text, 0, nullopt, no bytes) for a missing key or the
// null object, so that no record ever holds the null object.

inline const Dict& orEmpty(const Dict* dict) {
    static const Dict empty;
    return dict ? *dict : empty;
}

// The value of the first key present and not the null object; used where a record reads one key
// from a service object and another from its own table's row.
inline const Value& firstOf(const Dict& d, std::string_view key, std::string_view otherKey) {
    const Value& v = d.get(key);
    return v.isNullObject() ? d.get(otherKey) : v;
}

inline std::string text(const Value& v) {
    return BaseEntity::toString(v).value_or(std::string());
}
inline int integer(const Value& v) {
    return BaseEntity::toInt(v);
}
inline std::int64_t integer64(const Value& v) {
    return v.isNullObject() ? 0 : v.asInt64();
}
inline bool boolean(const Value& v) {
    return BaseEntity::toBOOL(v);
}
inline double number(const Value& v) {
    return v.isNullObject() ? 0.0 : v.asDouble();
}
inline std::optional<double> optionalNumber(const Value& v) {
    if (v.isNullObject()) return std::nullopt;
    return v.asDouble();
}
// A date column: normalised and validated text "yyyy-MM-dd HH:mm:ss", or nullopt.
inline std::optional<std::string> date(const Value& v) {
    return BaseEntity::toDate(v);
}
// A date compared as text where a missing value and an empty one differ: only normalised.
inline std::optional<std::string> dateText(const Value& v) {
    return BaseEntity::toDateString(v);
}
inline Bytes bytes(const Value& v) {
    return BaseEntity::toData(v).value_or(Bytes());
}

}  // namespace examora::record_fields
