// strformat: printf-style templates filled from Values.

#include "platform/strformat.h"

#include <cstdio>

namespace examora {

namespace {

std::string printfOne(const std::string& spec, auto value) {
    char buf[128];
    int n = std::snprintf(buf, sizeof buf, spec.c_str(), value);
    if (n < 0) return std::string();
    if (static_cast<std::size_t>(n) < sizeof buf)
        return std::string(buf, static_cast<std::size_t>(n));
    std::string out(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(out.data(), out.size(), spec.c_str(), value);
    out.resize(static_cast<std::size_t>(n));
    return out;
}

// Applies width and "-" from a %s/%@ spec to an already formatted text.
std::string padText(const std::string& flags, int width, std::string text) {
    if (width <= 0 || static_cast<int>(text.size()) >= width) return text;
    std::string pad(static_cast<std::size_t>(width) - text.size(), ' ');
    return flags.find('-') != std::string::npos ? text + pad : pad + text;
}

}  // namespace

std::string strformatv(std::string_view t, const std::vector<Value>& args) {
    static const Value kNull;
    std::string out;
    out.reserve(t.size() + 16 * args.size());
    std::size_t argIndex = 0;
    auto nextArg = [&]() -> const Value& {
        return argIndex < args.size() ? args[argIndex++] : kNull;
    };

    for (std::size_t i = 0; i < t.size(); ++i) {
        char c = t[i];
        if (c != '%') {
            out += c;
            continue;
        }
        std::size_t j = i + 1;
        if (j < t.size() && t[j] == '%') {
            out += '%';
            i = j;
            continue;
        }
        std::string flags;
        while (j < t.size() && std::string_view("-+ #0").find(t[j]) != std::string_view::npos)
            flags += t[j++];
        int width = 0;
        std::string widthText;
        while (j < t.size() && t[j] >= '0' && t[j] <= '9') {
            widthText += t[j];
            width = width * 10 + (t[j++] - '0');
        }
        std::string precision;
        if (j < t.size() && t[j] == '.') {
            precision += t[j++];
            while (j < t.size() && t[j] >= '0' && t[j] <= '9')
                precision += t[j++];
        }
        while (j < t.size() && (t[j] == 'l' || t[j] == 'h' || t[j] == 'q' || t[j] == 'z'))
            ++j;
        if (j >= t.size()) {
            out.append(t.substr(i));
            break;
        }
        char conv = t[j];
        std::string base = "%" + flags + widthText + precision;
        switch (conv) {
            case 'd':
            case 'i':
                out += printfOne(base + "lld", static_cast<long long>(nextArg().asInt64()));
                break;
            case 'u':
            case 'x':
            case 'X':
            case 'o':
                out += printfOne(base + "ll" + conv,
                                 static_cast<unsigned long long>(nextArg().asInt64()));
                break;
            case 'f':
            case 'F':
            case 'g':
            case 'G':
            case 'e':
            case 'E':
                out += printfOne(base + conv, nextArg().asDouble());
                break;
            case 'c': {
                const Value& v = nextArg();
                std::string ch = v.isText() ? v.asString().substr(0, 1)
                                            : std::string(1, static_cast<char>(v.asInt64()));
                out += padText(flags, width, ch);
                break;
            }
            case 's':
            case '@':
                out += padText(flags, width, nextArg().description());
                break;
            default:
                // Not a conversion we know: keep the text as written.
                out.append(t.substr(i, j - i + 1));
                break;
        }
        i = j;
    }
    return out;
}

}  // namespace examora
