// Value: one loosely typed value in the five storage classes of SQLite.

#include "platform/value.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace examora {

namespace {

const char* skipSpace(const char* p) {
    while (*p && std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    return p;
}

}  // namespace

bool Value::isNullObject() const {
    if (isNull()) return true;
    const std::string* s = textPtr();
    return s && *s == "NULL";
}

std::int64_t Value::asInt64() const {
    switch (type()) {
        case Type::Integer:
            return std::get<std::int64_t>(v_);
        case Type::Double: {
            double d = std::get<double>(v_);
            if (std::isnan(d)) return 0;
            if (d >= 9.2e18) return std::numeric_limits<std::int64_t>::max();
            if (d <= -9.2e18) return std::numeric_limits<std::int64_t>::min();
            return static_cast<std::int64_t>(d);
        }
        case Type::Text: {
            const char* p = skipSpace(std::get<std::string>(v_).c_str());
            errno = 0;
            long long v = std::strtoll(p, nullptr, 10);
            return static_cast<std::int64_t>(v);
        }
        default:
            return 0;
    }
}

double Value::asDouble() const {
    switch (type()) {
        case Type::Integer:
            return static_cast<double>(std::get<std::int64_t>(v_));
        case Type::Double:
            return std::get<double>(v_);
        case Type::Text: {
            const char* p = skipSpace(std::get<std::string>(v_).c_str());
            return std::strtod(p, nullptr);
        }
        default:
            return 0.0;
    }
}

bool Value::asBool() const {
    switch (type()) {
        case Type::Integer:
            return std::get<std::int64_t>(v_) != 0;
        case Type::Double:
            return std::get<double>(v_) != 0.0;
        case Type::Text: {
            const char* p = skipSpace(std::get<std::string>(v_).c_str());
            if (*p == '+' || *p == '-') ++p;
            while (*p == '0')
                ++p;
            char c = *p;
            return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
        }
        default:
            return false;
    }
}

std::string Value::asString() const {
    switch (type()) {
        case Type::Integer:
            return std::to_string(std::get<std::int64_t>(v_));
        case Type::Double: {
            double d = std::get<double>(v_);
            char buf[64];
            auto res = std::to_chars(buf, buf + sizeof buf, d);
            return std::string(buf, res.ptr);
        }
        case Type::Text:
            return std::get<std::string>(v_);
        case Type::Blob: {
            const Bytes& b = std::get<Bytes>(v_);
            return std::string(b.begin(), b.end());
        }
        default:
            return std::string();
    }
}

std::optional<std::string> Value::asOptionalString() const {
    if (isNullObject()) return std::nullopt;
    return asString();
}

Bytes Value::asBytes() const {
    if (const Bytes* b = bytesPtr()) return *b;
    if (isNull()) return {};
    std::string s = asString();
    return Bytes(s.begin(), s.end());
}

std::string Value::description() const {
    return isNull() ? std::string("(null)") : asString();
}

}  // namespace examora
