#pragma once

#include <string>

namespace examora {

// Hands an address to the platform (a web browser, a messenger).
class UrlOpener {
  public:
    virtual ~UrlOpener() = default;
    // Whether some program takes addresses of this one's scheme.
    virtual bool canOpenURL(const std::string& url) = 0;
    virtual void openURL(const std::string& url) = 0;
};

}  // namespace examora
