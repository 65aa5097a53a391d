// ExamWebServiceUtil: result text operations, JSON reading and writing.

#include <climits>
#include <cstdint>

#include "platform/log.h"
#include "platform/text_util.h"
#include "service/exam_web_service_util.h"

namespace examora {

namespace {

// Nesting beyond this is refused: writing such a value back out (nested values become JSON text
// in jsonToDict) recurses once per level, and no service payload comes near it.
constexpr int kMaxJsonDepth = 512;

bool isFormatCharacter(char32_t c) {
    struct Range {
        char32_t first, last;
    };
    // Unicode general category Cf.
    static constexpr Range kCf[] = {
        {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},
        {0x070F, 0x070F},   {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},
        {0x200B, 0x200F},   {0x202A, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},
        {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD},
        {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
        {0xE0020, 0xE007F},
    };
    for (const Range& r : kCf) {
        if (c < r.first) return false;
        if (c <= r.last) return true;
    }
    return false;
}

// Unicode general category Cc.
bool isControlCharacter(char32_t c) {
    return c <= 0x1F || (c >= 0x7F && c <= 0x9F);
}

// Decodes the UTF-8 sequence at s[i]; returns its length, or 0 when it is not well-formed.
std::size_t decodeUtf8(std::string_view s, std::size_t i, char32_t& out) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    std::size_t len;
    char32_t cp;
    if (lead < 0x80) {
        out = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        len = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        len = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        len = 4;
        cp = lead & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    out = cp;
    return len;
}

// Removes every Cc and Cf character. Whole characters are removed, so nothing new can form and
// one pass leaves none. Bytes that are not well-formed UTF-8 are kept for the parser to refuse.
std::string removeControlCharacters(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        char32_t cp = 0;
        std::size_t len = decodeUtf8(s, i, cp);
        if (len == 0) {
            out += s[i++];
            continue;
        }
        if (!isControlCharacter(cp) && !isFormatCharacter(cp)) out.append(s, i, len);
        i += len;
    }
    return out;
}

// Whether arrays and objects nest deeper than the limit (brackets inside strings do not count).
bool nestsTooDeep(std::string_view s) {
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxJsonDepth) return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

}  // namespace

std::optional<nlohmann::json> ExamWebServiceUtil::getJSONObject(const std::string& text) {
    std::string cleaned = replaceAll(text, "\"TRUE\"", "1");
    cleaned = replaceAll(cleaned, "\"FALSE\"", "0");
    cleaned = removeControlCharacters(cleaned);
    if (nestsTooDeep(cleaned)) {
        logf("jsonerror->%@", "nesting deeper than " + std::to_string(kMaxJsonDepth));
        return std::nullopt;
    }
    nlohmann::json parsed;
    try {
        parsed = nlohmann::json::parse(cleaned);
    } catch (const nlohmann::json::exception& e) {
        logf("jsonerror->%@", e.what());
        return std::nullopt;
    }
    if (!parsed.is_array() && !parsed.is_object()) {
        logf("jsonerror->%@", "the top level is neither an array nor an object");
        return std::nullopt;
    }
    return parsed;
}

std::optional<std::string> ExamWebServiceUtil::buildJSONString(const nlohmann::json& object) {
    if (!object.is_array() && !object.is_object()) {
        logf("dic->%@", "only an array or an object can be written");
        return std::nullopt;
    }
    try {
        return object.dump(2);
    } catch (const nlohmann::json::exception& e) {
        logf("dic->%@", e.what());
        return std::nullopt;
    }
}

std::string ExamWebServiceUtil::arrayListToString(const std::vector<Value>& list) {
    std::string out;
    bool first = true;
    for (const Value& v : list) {
        if (v.isNull()) continue;
        if (!first) out += ',';
        out += v.asString();
        first = false;
    }
    return out;
}

bool ExamWebServiceUtil::isEmptyOfJOSN(const std::optional<std::string>& text) {
    return !text || text->empty() || *text == "anyType{}";
}

bool ExamWebServiceUtil::isEmpty(const Value& v) {
    return examora::isEmpty(v);
}

bool ExamWebServiceUtil::toBOOL(const std::optional<std::string>& text) {
    if (examora::isEmpty(text)) return false;
    return Value(*text).asBool();
}

int ExamWebServiceUtil::toInt(const std::optional<std::string>& text) {
    if (examora::isEmpty(text)) return 0;
    const std::string& s = *text;
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    // Out-of-range values saturate rather than wrap.
    std::int64_t value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = value * 10 + (s[i] - '0');
        if (value > static_cast<std::int64_t>(INT_MAX) + 1) break;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

Dict ExamWebServiceUtil::jsonToDict(const nlohmann::json& object) {
    Dict dict;
    if (!object.is_object()) return dict;
    dict.reserve(object.size());
    for (const auto& [key, v] : object.items()) {
        switch (v.type()) {
            case nlohmann::json::value_t::null:
                dict.set(key, Value());
                break;
            case nlohmann::json::value_t::boolean:
                dict.set(key, Value(v.get<bool>()));
                break;
            case nlohmann::json::value_t::number_integer:
                dict.set(key, Value(v.get<std::int64_t>()));
                break;
            case nlohmann::json::value_t::number_unsigned: {
                const auto u = v.get<std::uint64_t>();
                if (u <= static_cast<std::uint64_t>(INT64_MAX)) {
                    dict.set(key, Value(static_cast<std::int64_t>(u)));
                } else {
                    dict.set(key, Value(static_cast<double>(u)));
                }
                break;
            }
            case nlohmann::json::value_t::number_float:
                dict.set(key, Value(v.get<double>()));
                break;
            case nlohmann::json::value_t::string:
                dict.set(key, Value(v.get<std::string>()));
                break;
            default:
                dict.set(key,
                         Value(v.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)));
                break;
        }
    }
    return dict;
}

}  // namespace examora
