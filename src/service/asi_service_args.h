#pragma once

#include <optional>
#include <string>

namespace examora {

// One call description of the exam web service, and the process-wide defaults that every call
// falls back on. The defaults are written once at launch, before any worker starts.
class ASIServiceArgs {
public:
    // Process-wide defaults.
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
};

}  // namespace examora
