#pragma once

#include <optional>
#include <string>

#include "platform/dict.h"
#include "platform/value.h"

namespace examora {

// The base of every record. Records are plain structs filled only by initWithDict from a
// dictionary keyed by column name (a result row or a service object); these conversions read the
// loosely typed values such a dictionary holds.
struct BaseEntity {
    virtual ~BaseEntity() = default;

    static bool toBOOL(const Value& v);
    static int toInt(const Value& v);
    static float toFloat(const Value& v);
    static long toLng(const Value& v);
    // nil for nil; text normalised by toDateString and read as "yyyy-MM-dd HH:mm:ss". Dates are
    // carried as that text; a value that does not parse as a date gives nil.
    static std::optional<std::string> toDate(const Value& v);
    // nil for the null object; "yyyy-MM-ddTHH:mm:ss" loses its "T"; other text has "/" → "-".
    static std::optional<std::string> toDateString(const Value& v);
    // nil for the null object; otherwise the value's text form.
    static std::optional<std::string> toString(const Value& v);
    // nil for the null object; otherwise the Base64 decoding of the text (nil when not Base64).
    static std::optional<Bytes> toData(const Value& v);
};

}  // namespace examora
