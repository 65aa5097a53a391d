#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace examora {

using Bytes = std::vector<std::uint8_t>;

// The one rule for narrowing an integer to 32 bits, wherever number text or a stored number is
// read as an int: a value beyond the range saturates at its nearer end, never wraps.
constexpr int saturatingInt(std::int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int>(v);
}

// One loosely typed value: null, 64-bit integer, double, UTF-8 text or bytes, the five storage
// classes of SQLite. Result rows and JSON objects from the service both carry their fields as
// Values, so every record is filled through one path. Booleans are stored as the integers 0 and 1.
class Value {
  public:
    enum class Type { Null, Integer, Double, Text, Blob };

    Value() = default;
    Value(std::nullptr_t) {}
    Value(bool b) : v_(static_cast<std::int64_t>(b ? 1 : 0)) {}
    template <std::integral T>
    requires(!std::same_as<T, bool>) Value(T i) : v_(static_cast<std::int64_t>(i)) {}
    template <std::floating_point T>
    Value(T d) : v_(static_cast<double>(d)) {}
    Value(std::string s) : v_(std::move(s)) {}
    Value(std::string_view s) : v_(std::string(s)) {}
    Value(const char* s) : v_(s ? Storage(std::string(s)) : Storage()) {}
    Value(Bytes b) : v_(std::move(b)) {}
    template <class T>
    Value(const std::optional<T>& o) : Value(o ? Value(*o) : Value()) {}

    Type type() const { return static_cast<Type>(v_.index()); }
    bool isNull() const { return type() == Type::Null; }
    bool isInteger() const { return type() == Type::Integer; }
    bool isDouble() const { return type() == Type::Double; }
    bool isNumber() const { return isInteger() || isDouble(); }
    bool isText() const { return type() == Type::Text; }
    bool isBlob() const { return type() == Type::Blob; }

    // The null object of the system: the null value or the text "NULL".
    bool isNullObject() const;

    // Numeric readings. Text is read as its leading number (leading white space skipped,
    // anything unparsable reads 0); null and bytes read 0.
    std::int64_t asInt64() const;
    // The 32-bit reading: beyond that range it saturates (see saturatingInt).
    int asInt() const { return saturatingInt(asInt64()); }
    double asDouble() const;
    // The boolean reading: numbers are true when non-zero; text is true when, after leading
    // white space and an optional sign and zeros, it starts with Y, y, T, t or a digit 1-9.
    bool asBool() const;

    // The text form: integers in decimal, doubles in their shortest round-trip form, text as
    // is, bytes as their raw content, null as the empty text.
    std::string asString() const;
    // Text form, or nullopt for the null object.
    std::optional<std::string> asOptionalString() const;
    Bytes asBytes() const;

    const std::string* textPtr() const { return std::get_if<std::string>(&v_); }
    const Bytes* bytesPtr() const { return std::get_if<Bytes>(&v_); }

    // A description for log lines and "%@": like asString, but null reads "(null)".
    std::string description() const;

    bool operator==(const Value& other) const = default;

  private:
    using Storage = std::variant<std::monostate, std::int64_t, double, std::string, Bytes>;
    Storage v_;
};

}  // namespace examora
