// WebSecurity: token, Host check and content security policies of the web interface.

#include "web/web_security.h"

#include <openssl/rand.h>

#include <stdexcept>

#include "platform/text_util.h"

namespace examora {

std::string WebSecurity::randomToken() {
    unsigned char bytes[32];
    if (RAND_bytes(bytes, sizeof bytes) != 1) throw std::runtime_error("no random source");
    static constexpr char kHex[] = "0123456789abcdef";
    std::string token;
    token.reserve(2 * sizeof bytes);
    for (unsigned char b : bytes) {
        token.push_back(kHex[b >> 4]);
        token.push_back(kHex[b & 0xf]);
    }
    return token;
}

bool WebSecurity::tokenMatches(std::string_view expected, std::string_view given) {
    if (expected.empty() || given.size() != expected.size()) return false;
    unsigned char diff = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        diff |= static_cast<unsigned char>(expected[i] ^ given[i]);
    }
    return diff == 0;
}

bool WebSecurity::hostAllowed(std::string_view host, const std::vector<std::string>& allowed) {
    for (const std::string& a : allowed) {
        if (equalsIgnoringCase(host, a)) return true;
    }
    return false;
}

std::vector<std::string> WebSecurity::allowedHosts(const std::string& listenAddress, int port) {
    std::string p = ":";
    p.append(std::to_string(port));
    std::vector<std::string> hosts;
    for (const char* name : {"127.0.0.1", "localhost"})
        hosts.push_back(std::string(name).append(p));
    if (!listenAddress.empty() && listenAddress != "127.0.0.1") {
        // An IPv6 address is written in brackets in a Host header.
        std::string host;
        if (listenAddress.find(':') != std::string::npos) {
            host.append("[").append(listenAddress).append("]");
        } else {
            host.append(listenAddress);
        }
        hosts.push_back(host.append(p));
    }
    return hosts;
}

std::string WebSecurity::appContentSecurityPolicy(const std::string& pageOrigin) {
    return "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; "
           "font-src 'self'; connect-src 'self'; frame-src " +
           pageOrigin +
           "; base-uri 'none'; form-action 'none'; frame-ancestors 'none'; object-src 'none'";
}

std::string WebSecurity::pageContentSecurityPolicy(const std::string& appOrigin) {
    return "default-src 'none'; script-src 'self' 'unsafe-inline'; style-src 'self' "
           "'unsafe-inline'; img-src 'self' data:; font-src 'self'; base-uri 'none'; "
           "form-action 'none'; frame-ancestors " +
           appOrigin + "; object-src 'none'";
}

}  // namespace examora
