#include "service/asi_service_args.h"

#include <mutex>

namespace examora {

namespace {
struct Defaults {
    std::string webServiceURL, nameSpace, headerUser, headerPassword, downloadURL;
};
std::mutex gDefaultsMutex;
Defaults gDefaults;

std::string read(std::string Defaults::*field) {
    std::lock_guard<std::mutex> lock(gDefaultsMutex);
    return gDefaults.*field;
}
void write(std::string Defaults::*field, const std::string& v) {
    std::lock_guard<std::mutex> lock(gDefaultsMutex);
    gDefaults.*field = v;
}
}  // namespace

void ASIServiceArgs::setWebServiceURL(const std::string& url) { write(&Defaults::webServiceURL, url); }
void ASIServiceArgs::setNameSapce(const std::string& ns) { write(&Defaults::nameSpace, ns); }
void ASIServiceArgs::setHeaderUser(const std::string& user) { write(&Defaults::headerUser, user); }
void ASIServiceArgs::setHeaderPassword(const std::string& password) {
    write(&Defaults::headerPassword, password);
}
std::string ASIServiceArgs::getWebServiceURL() { return read(&Defaults::webServiceURL); }
std::string ASIServiceArgs::getNameSpace() { return read(&Defaults::nameSpace); }
std::string ASIServiceArgs::getHeaderUser() { return read(&Defaults::headerUser); }
std::string ASIServiceArgs::getHeaderPassword() { return read(&Defaults::headerPassword); }
void ASIServiceArgs::setDownloadSubjectURL(const std::string& url) {
    write(&Defaults::downloadURL, url);
}
std::string ASIServiceArgs::getDownloadSubjectURL() {
    std::string url = read(&Defaults::downloadURL);
    return url.empty() ? getWebServiceURL() : url;
}
void ASIServiceArgs::resetDefaults() {
    std::lock_guard<std::mutex> lock(gDefaultsMutex);
    gDefaults = Defaults{};
}

}  // namespace examora
