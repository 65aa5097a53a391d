// The rules of question pictures that need no database: position, token, file name, replacement.
#include "sync/subject_picture_rule.h"

#include <climits>
#include <vector>

#include "platform/strformat.h"
#include "platform/text_util.h"

namespace examora {

namespace {

// The integer value of a text: optional white space and sign, then the leading digits; 0 when
// there are none. Clamped to the int range.
int leadingInt(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    long long value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = value * 10 + (s[i] - '0');
        if (value > INT_MAX) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace

PicturePosition SubjectPictureRule::position(std::string_view tableName) {
    const std::string tail = utf8Substr(tableName, kTableNamePrefix);
    PicturePosition p;
    if (utf8Length(tail) < 2) {
        p.a = leadingInt(tail);
        return p;
    }
    const std::vector<std::string> parts = split(tail, "_");
    if (parts.size() >= 2) {
        p.a = leadingInt(parts[0]);
        p.b = leadingInt(parts[1]);
    } else {
        p.a = leadingInt(tail);
    }
    return p;
}

std::string SubjectPictureRule::token(const PicturePosition& position) {
    if (position.b == 0) return "{图}";
    return strformat("{图%d}", position.b);
}

std::string SubjectPictureRule::fileName(int subjectId, const PicturePosition& position,
                                         std::string_view extension) {
    std::string name = strformat("%d_%d", subjectId, position.a);
    if (position.b >= 1) name += strformat("_%d", position.b);
    if (!extension.empty()) {
        name += ".";
        name += extension;
    }
    return name;
}

bool SubjectPictureRule::isSafeExtension(std::string_view extension) {
    if (extension.size() > kMaxExtensionLength) return false;
    if (extension.find("..") != std::string_view::npos) return false;
    for (unsigned char c : extension) {
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\') return false;
    }
    return true;
}

std::string SubjectPictureRule::imageElement(const std::string& path) {
    return strformat("<img border='0' alt='' src='file://%@'/>", path);
}

std::string SubjectPictureRule::replaceToken(const std::string& text, const std::string& token,
                                             const std::string& path) {
    if (text.empty() || token.empty() || text.find(token) == std::string::npos) return text;
    const std::string element = imageElement(path);
    const std::string url = "file://" + path;
    std::string out;
    std::size_t from = 0;
    for (std::size_t at = text.find(token); at != std::string::npos; at = text.find(token, from)) {
        out.append(text, from, at - from);
        const std::size_t after = at + token.size();
        const bool quoted = at > 0 && after < text.size() &&
                            (text[at - 1] == '"' || text[at - 1] == '\'') &&
                            text[after] == text[at - 1];
        out += quoted ? url : element;
        from = after;
    }
    out.append(text, from, std::string::npos);
    return out;
}

}  // namespace examora
