#pragma once

#include "platform/http_transport.h"

namespace examora {

// HttpTransport over libcurl. Each call uses its own easy handle, so one instance serves any
// number of threads. Redirects are not followed: a service call must reach the endpoint it names.
class CurlTransport : public HttpTransport {
  public:
    CurlTransport();
    HttpResponse perform(const HttpRequest& request) override;
};

}  // namespace examora
