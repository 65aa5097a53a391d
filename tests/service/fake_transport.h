#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/http_transport.h"

namespace examora {

// `inner` as the body of a SOAP 1.1 answer.
inline std::string soapEnvelope(const std::string& inner) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
           "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>" +
           inner + "</soap:Body></soap:Envelope>";
}

// Stands in for the network: records every request and answers with a canned response.
class FakeTransport : public HttpTransport {
public:
    HttpResponse perform(const HttpRequest& request) override {
        std::lock_guard<std::mutex> lock(mutex_);
        requests.push_back(request);
        HttpResponse r = response;
        r.defaultEncoding = request.defaultEncoding;
        return r;
    }
    // A completed 200 exchange carrying `body` as UTF-8 XML.
    void reply(std::string body, long status = 200) {
        response = HttpResponse{};
        response.status = status;
        response.headers = {{"Content-Type", "text/xml; charset=utf-8"}};
        response.body = std::move(body);
    }
    void fail(std::string error) {
        response = HttpResponse{};
        response.error = std::move(error);
    }

    HttpResponse response;
    std::vector<HttpRequest> requests;

private:
    std::mutex mutex_;
};

}  // namespace examora
