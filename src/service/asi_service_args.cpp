// ASIServiceArgs: a service call's description and the request forms built from it.

#include "service/asi_service_args.h"

#include <mutex>

#include "platform/strformat.h"
#include "platform/text_util.h"

namespace examora {

namespace {
struct Defaults {
    std::string webServiceURL, nameSpace, headerUser, headerPassword, downloadURL;
};
std::mutex gDefaultsMutex;
Defaults gDefaults;

constexpr std::string_view kSoap11Envelope =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<soap:Envelope xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
    "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">"
    "<soap:Header>%@</soap:Header><soap:Body>%@</soap:Body></soap:Envelope>";
constexpr std::string_view kSoap12Envelope =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<soap12:Envelope xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
    "xmlns:soap12=\"http://www.w3.org/2003/05/soap-envelope\">"
    "<soap12:Header>%@</soap12:Header><soap12:Body>%@</soap12:Body></soap12:Envelope>";

// An attribute value in double quotes.
std::string xmlAttribute(std::string_view s) {
    return replaceAll(xmlEscapeText(s), "\"", "&quot;");
}

std::string read(std::string Defaults::*field) {
    std::lock_guard<std::mutex> lock(gDefaultsMutex);
    return gDefaults.*field;
}
void write(std::string Defaults::*field, const std::string& v) {
    std::lock_guard<std::mutex> lock(gDefaultsMutex);
    gDefaults.*field = v;
}
}  // namespace

void ASIServiceArgs::setWebServiceURL(const std::string& url) {
    write(&Defaults::webServiceURL, url);
}
void ASIServiceArgs::setNameSapce(const std::string& ns) {
    write(&Defaults::nameSpace, ns);
}
void ASIServiceArgs::setHeaderUser(const std::string& user) {
    write(&Defaults::headerUser, user);
}
void ASIServiceArgs::setHeaderPassword(const std::string& password) {
    write(&Defaults::headerPassword, password);
}
std::string ASIServiceArgs::getWebServiceURL() {
    return read(&Defaults::webServiceURL);
}
std::string ASIServiceArgs::getNameSpace() {
    return read(&Defaults::nameSpace);
}
std::string ASIServiceArgs::getHeaderUser() {
    return read(&Defaults::headerUser);
}
std::string ASIServiceArgs::getHeaderPassword() {
    return read(&Defaults::headerPassword);
}
void ASIServiceArgs::setDownloadSubjectURL(const std::string& url) {
    write(&Defaults::downloadURL, url);
}
std::string ASIServiceArgs::getDownloadSubjectURL() {
    std::string url = read(&Defaults::downloadURL);
    return url.empty() ? getWebServiceURL() : url;
}
void ASIServiceArgs::useExamService(const std::string& url) {
    setWebServiceURL(url);
    setNameSapce(kServiceNamespace);
    setHeaderUser(kServiceHeaderUser);
    setHeaderPassword(kServiceHeaderPassword);
}
void ASIServiceArgs::resetDefaults() {
    std::lock_guard<std::mutex> lock(gDefaultsMutex);
    gDefaults = Defaults{};
}

void ASIServiceArgs::setHttpWay(int way) {
    if (way == httpWay_) return;
    httpWay_ = way;
    bodyMessage_ = std::string();
    headers_.reset();
}

void ASIServiceArgs::setSoapParam(const std::string& name,
                                  const std::optional<std::string>& value) {
    if (!soapParams_) soapParams_.emplace();
    soapParams_->set(name, value);
}

std::string ASIServiceArgs::resolvedServiceURL() const {
    return serviceURL_ && !serviceURL_->empty() ? *serviceURL_ : getWebServiceURL();
}
std::string ASIServiceArgs::resolvedNameSpace() const {
    return serviceNameSpace_ ? *serviceNameSpace_ : getNameSpace();
}
std::string ASIServiceArgs::resolvedHeaderUser() const {
    return serviceHeaderUser_ ? *serviceHeaderUser_ : getHeaderUser();
}
std::string ASIServiceArgs::resolvedHeaderPassword() const {
    return serviceHeaderPassword_ ? *serviceHeaderPassword_ : getHeaderPassword();
}

std::string ASIServiceArgs::paramString() const {
    if (!soapParams_) return std::string();
    std::string out;
    for (const auto& [name, value] : *soapParams_) {
        if (!out.empty()) out += '&';
        // Encoded, or a value holding "&", "=", "#" or a space would split or cut the list.
        out += strformat("%@=%@", urlEncode(name), urlEncode(value));
    }
    return out;
}

std::string ASIServiceArgs::requestURL() const {
    const std::string endpoint = resolvedServiceURL();
    switch (httpWay_) {
        case kHttpGet: {
            const std::string params = paramString();
            return strformat("%@/%@%@", endpoint, methodName_,
                             params.empty() ? std::string() : "?" + params);
        }
        case kHttpPost:
            return strformat("%@/%@", endpoint, methodName_);
        default:
            return endpoint;
    }
}

std::string ASIServiceArgs::requestMethod() const {
    return httpWay_ == kHttpGet ? "GET" : "POST";
}

std::string ASIServiceArgs::requestBodyMessage() const {
    if (httpWay_ == kHttpGet) return std::string();
    if (bodyMessage_ && !bodyMessage_->empty()) return *bodyMessage_;
    if (httpWay_ == kHttpPost) return paramString();
    return stringSoapMessage(soapParams_);
}

std::string ASIServiceArgs::defaultSoapMesage() const {
    return std::string(httpWay_ == kSoap12 ? kSoap12Envelope : kSoap11Envelope);
}

std::string ASIServiceArgs::stringSoapMessage(const std::optional<SoapParams>& params) const {
    const std::string ns = resolvedNameSpace();
    const std::string user = resolvedHeaderUser();
    std::string header;
    if (!user.empty()) {
        header = strformat(
            "<MGSoapHeader xmlns=\"%@\"><UserID>%@</UserID><Password>%@</Password> "
            "</MGSoapHeader>",
            xmlAttribute(ns), xmlEscapeText(user), xmlEscapeText(resolvedHeaderPassword()));
    }
    const std::string nsAttribute =
        ns.empty() ? std::string() : strformat(" xmlns=\"%@\"", xmlAttribute(ns));
    std::string method;
    if (params) {
        method = strformat("<%@%@>", methodName_, nsAttribute);
        for (const auto& [name, value] : *params) {
            method += "<" + name + ">";
            method += xmlEscapeText(value);
            method += "</" + name + ">";
        }
        method += strformat("</%@>", methodName_);
    } else {
        method = strformat("<%@%@ />", methodName_, nsAttribute);
    }
    return strformat(defaultSoapMesage(), header, method);
}

std::string ASIServiceArgs::soapAction(const std::string& nameSpace,
                                       const std::string& methodName) {
    if (nameSpace.empty()) return std::string();
    if (endsWith(nameSpace, "/")) return nameSpace + methodName;
    return nameSpace + "/" + methodName;
}

HttpHeaders ASIServiceArgs::headers() const {
    if (headers_ && !headers_->empty()) return *headers_;
    HttpHeaders out;
    std::string host;
    if (auto authority = urlAuthority(requestURL())) {
        host = authority->port ? strformat("%@:%d", authority->host, *authority->port)
                               : authority->host;
    }
    out.emplace_back("Host", host);
    if (httpWay_ == kHttpGet) return out;
    switch (httpWay_) {
        case kHttpPost:
            out.emplace_back("Content-Type", "application/x-www-form-urlencoded");
            break;
        case kSoap12:
            out.emplace_back("Content-Type", "application/soap+xml; charset=utf-8");
            break;
        default:
            out.emplace_back("Content-Type", "text/xml; charset=utf-8");
            break;
    }
    out.emplace_back("Content-Length", std::to_string(requestBodyMessage().size()));
    if (httpWay_ == kSoap11) {
        const std::string action = soapAction(resolvedNameSpace(), methodName_);
        if (!action.empty()) out.emplace_back("SOAPAction", action);
    }
    return out;
}

}  // namespace examora
