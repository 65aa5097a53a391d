#pragma once

#include <optional>
#include <string>

#include "platform/http_transport.h"
#include "service/soap_params.h"

namespace examora {

// One call description of the exam web service, and the process-wide defaults that every call
// falls back on. The defaults are written once at launch, before any worker starts.
//
// A description knows how to turn itself into a request: URL, HTTP method, headers and body for
// each of the four request forms (httpWay 0 GET, 1 form POST, 2 SOAP 1.1, 3 SOAP 1.2).
class ASIServiceArgs {
  public:
    // Process-wide defaults.
    // The namespace and header credentials this application speaks with its exam service.
    static constexpr const char* kServiceNamespace = "http://tempuri.org/";
    static constexpr const char* kServiceHeaderUser = "zxexam";
    static constexpr const char* kServiceHeaderPassword = "583quiz";
    // Points every call at the exam service at `url`, with the application's namespace and header.
    static void useExamService(const std::string& url);
    static void setWebServiceURL(const std::string& url);
    static void setNameSapce(const std::string& ns);
    static void setHeaderUser(const std::string& user);
    static void setHeaderPassword(const std::string& password);
    static std::string getWebServiceURL();
    static std::string getNameSpace();
    static std::string getHeaderUser();
    static std::string getHeaderPassword();
    // The course package address: the download URL when set and not empty, else the service URL.
    static std::string getDownloadSubjectURL();
    static void setDownloadSubjectURL(const std::string& url);

    // Back to the state before launch (tests only).
    static void resetDefaults();

    // --- call description fields -------------------------------------------------------------
    static constexpr int kHttpGet = 0;
    static constexpr int kHttpPost = 1;
    static constexpr int kSoap11 = 2;
    static constexpr int kSoap12 = 3;
    static constexpr double kDefaultTimeOutSeconds = 120;

    // Endpoint; nullopt or empty means the web service URL default.
    const std::optional<std::string>& serviceURL() const { return serviceURL_; }
    void setServiceURL(std::optional<std::string> v) { serviceURL_ = std::move(v); }
    // nullopt means the namespace default.
    const std::optional<std::string>& serviceNameSpace() const { return serviceNameSpace_; }
    void setServiceNameSpace(std::optional<std::string> v) { serviceNameSpace_ = std::move(v); }
    // nullopt means the header user / password default.
    const std::optional<std::string>& serviceHeaderUser() const { return serviceHeaderUser_; }
    void setServiceHeaderUser(std::optional<std::string> v) { serviceHeaderUser_ = std::move(v); }
    const std::optional<std::string>& serviceHeaderPassword() const {
        return serviceHeaderPassword_;
    }
    void setServiceHeaderPassword(std::optional<std::string> v) {
        serviceHeaderPassword_ = std::move(v);
    }
    int httpWay() const { return httpWay_; }
    // Changing the form drops a ready-made body (to empty) and ready-made headers (to none):
    // they were written for the old form.
    void setHttpWay(int way);
    // Character set for a response that names none.
    const std::string& defaultEncoding() const { return defaultEncoding_; }
    void setDefaultEncoding(std::string v) { defaultEncoding_ = std::move(v); }
    double timeOutSeconds() const { return timeOutSeconds_; }
    void setTimeOutSeconds(double v) { timeOutSeconds_ = v; }
    // Collect every part of the method's response element instead of the single result.
    bool multiResult() const { return multiResult_; }
    void setMultiResult(bool v) { multiResult_ = v; }
    const std::string& methodName() const { return methodName_; }
    void setMethodName(std::string v) { methodName_ = std::move(v); }
    // nullopt: no parameter map (a self-closing method element); an empty map is different.
    const std::optional<SoapParams>& soapParams() const { return soapParams_; }
    void setSoapParams(std::optional<SoapParams> v) { soapParams_ = std::move(v); }
    // Sets one parameter, creating the map when there is none; nullopt removes the parameter.
    void setSoapParam(const std::string& name, const std::optional<std::string>& value);
    // A ready-made body, sent instead of the generated one when not empty.
    const std::optional<std::string>& bodyMessage() const { return bodyMessage_; }
    void setBodyMessage(std::optional<std::string> v) { bodyMessage_ = std::move(v); }
    // Ready-made headers, sent instead of the generated ones when not empty.
    const std::optional<HttpHeaders>& customHeaders() const { return headers_; }
    void setHeaders(std::optional<HttpHeaders> v) { headers_ = std::move(v); }
    // Carried for callers; plays no part in the request.
    const std::optional<std::string>& soapHeader() const { return soapHeader_; }
    void setSoapHeader(std::optional<std::string> v) { soapHeader_ = std::move(v); }

    // --- the request this description makes -------------------------------------------------
    // Field values with the process-wide defaults applied.
    std::string resolvedServiceURL() const;
    std::string resolvedNameSpace() const;
    std::string resolvedHeaderUser() const;
    std::string resolvedHeaderPassword() const;

    std::string requestURL() const;
    // "GET" for form 0, "POST" otherwise.
    std::string requestMethod() const;
    // "name=value" items joined by "&", names and values percent-encoded; empty without
    // parameters.
    std::string paramString() const;
    // The body to send (UTF-8); empty for form 0.
    std::string requestBodyMessage() const;
    // The headers to send: the ready-made ones when given and not empty, else the generated ones.
    HttpHeaders headers() const;
    // The whole SOAP envelope for forms 2 and 3 around the method element built from `params`.
    std::string stringSoapMessage(const std::optional<SoapParams>& params) const;
    // The envelope template of the form, with "%@" for the header text and then the body text.
    std::string defaultSoapMesage() const;
    // The SOAPAction value: empty without a namespace; otherwise namespace and method joined by
    // "/" unless the namespace already ends with one.
    static std::string soapAction(const std::string& nameSpace, const std::string& methodName);

  private:
    std::optional<std::string> serviceURL_;
    std::optional<std::string> serviceNameSpace_;
    std::optional<std::string> serviceHeaderUser_;
    std::optional<std::string> serviceHeaderPassword_;
    int httpWay_ = kSoap11;
    std::string defaultEncoding_ = "UTF-8";
    double timeOutSeconds_ = kDefaultTimeOutSeconds;
    bool multiResult_ = false;
    std::string methodName_;
    std::optional<SoapParams> soapParams_;
    std::optional<std::string> bodyMessage_;
    std::optional<HttpHeaders> headers_;
    std::optional<std::string> soapHeader_;
};

}  // namespace examora
