#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace examora {

// The web interface's guards: the per-launch token, the Host check and the two content security
// policies. Pure functions, safe on any thread.
class WebSecurity {
  public:
    // The request header that carries the token on every call of the interface's API.
    static constexpr const char* kTokenHeader = "X-Examora-Token";

    // 32 random bytes as 64 lower-case hex digits, from the system's random source.
    static std::string randomToken();
    // Compares in time independent of where the texts differ; an empty token never matches.
    static bool tokenMatches(std::string_view expected, std::string_view given);
    // Whether a Host header names one of the allowed "host:port" texts exactly (ASCII case
    // ignored). A missing or foreign host, or a host without the port, is refused: a page from a
    // rebound DNS name reaches us with its own name in Host.
    static bool hostAllowed(std::string_view host, const std::vector<std::string>& allowed);
    // "127.0.0.1:port" and "localhost:port", plus "address:port" for a listen address other than
    // the loopback one.
    static std::vector<std::string> allowedHosts(const std::string& listenAddress, int port);

    // The interface's own pages: everything from its own origin, frames only from the question
    // page origin, no inline script, no outside origin at all.
    static std::string appContentSecurityPolicy(const std::string& pageOrigin);
    // Question pages: scripts and styles inline or from the page origin itself, no connections,
    // no form submission, framed only by the interface's origin.
    static std::string pageContentSecurityPolicy(const std::string& appOrigin);
};

}  // namespace examora
