// BaseEntity: the conversions records use to read loosely typed values.

#include "store/base_entity.h"

#include "platform/base64.h"
#include "platform/date_time.h"
#include "platform/text_util.h"

namespace examora {

bool BaseEntity::toBOOL(const Value& v) {
    return !v.isNullObject() && v.asBool();
}

int BaseEntity::toInt(const Value& v) {
    return v.isNullObject() ? 0 : v.asInt();
}

float BaseEntity::toFloat(const Value& v) {
    return v.isNullObject() ? 0.0f : static_cast<float>(v.asDouble());
}

long BaseEntity::toLng(const Value& v) {
    return v.isNullObject() ? 0L : static_cast<long>(v.asInt64());
}

std::optional<std::string> BaseEntity::toDateString(const Value& v) {
    if (v.isNullObject()) return std::nullopt;
    std::string s = v.asString();
    // "yyyy-MM-ddTHH:mm:ss" by characters: the text may hold other than ASCII.
    if (utf8Length(s) == 19) {
        std::vector<std::string> chars = utf8Chars(s);
        if (chars[10] == "T") {
            chars[10] = " ";
            return join(chars, "");
        }
    }
    return replaceAll(s, "/", "-");
}

std::optional<std::string> BaseEntity::toDate(const Value& v) {
    if (v.isNullObject() || !v.isText()) return std::nullopt;
    std::optional<std::string> text = toDateString(v);
    if (!text) return std::nullopt;
    std::optional<DateTime> d = DateTime::parse(*text);
    if (!d) return std::nullopt;
    return d->format();
}

std::optional<std::string> BaseEntity::toString(const Value& v) {
    return v.asOptionalString();
}

std::optional<Bytes> BaseEntity::toData(const Value& v) {
    if (v.isNullObject()) return std::nullopt;
    if (const Bytes* b = v.bytesPtr()) return *b;
    return base64Decode(v.asString());
}

}  // namespace examora
