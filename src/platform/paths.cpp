// Paths: the application home, its files and the resource directory.

#include "platform/paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "platform/file_util.h"

#ifndef EXAMORA_BUILD_RESOURCES
#define EXAMORA_BUILD_RESOURCES "resources"
#endif

namespace examora {

namespace {

std::mutex gMutex;
std::optional<std::string> gHome;
std::optional<std::string> gResources;

std::optional<std::string> env(const char* name) {
    const char* v = std::getenv(name);
    if (v == nullptr || *v == '\0') return std::nullopt;
    return std::string(v);
}

std::string userHome() {
    if (auto h = env("HOME")) return *h;
    if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
        return pw->pw_dir;
    }
    return "/tmp";
}

std::string executableDirectory() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}

}  // namespace

void Paths::setHome(const std::optional<std::string>& dir) {
    std::lock_guard<std::mutex> lock(gMutex);
    gHome = dir;
}

std::string Paths::home() {
    {
        std::lock_guard<std::mutex> lock(gMutex);
        if (gHome && !gHome->empty()) return *gHome;
    }
    if (auto h = env("EXAMORA_HOME")) return *h;
    // A relative XDG_DATA_HOME is invalid by the base-directory rules and is ignored.
    if (auto xdg = env("XDG_DATA_HOME"); xdg && xdg->front() == '/') return *xdg + "/examora";
    return userHome() + "/.local/share/examora";
}

std::string Paths::documentsDirectory() {
    std::string home = Paths::home();
    ensureDirectory(home, 0700);
    std::string docs = home + "/documents";
    ensureDirectory(docs, 0755);
    return docs;
}

std::string Paths::preferencesFile() {
    return home() + "/preferences.json";
}

std::string Paths::secureDirectory() {
    return home() + "/secure";
}

void Paths::setResourceDirectory(const std::optional<std::string>& dir) {
    std::lock_guard<std::mutex> lock(gMutex);
    gResources = dir;
}

std::string Paths::resourceDirectory() {
    {
        std::lock_guard<std::mutex> lock(gMutex);
        if (gResources && !gResources->empty()) return *gResources;
    }
    if (auto r = env("EXAMORA_RESOURCES")) return *r;
    std::string exeDir = executableDirectory();
    if (!exeDir.empty()) {
        for (const char* rel : {"/resources", "/../share/examora"}) {
            std::string candidate = exeDir + rel;
            if (isDirectory(candidate)) {
                return std::filesystem::path(candidate).lexically_normal().string();
            }
        }
    }
    return EXAMORA_BUILD_RESOURCES;
}

std::optional<std::string> Paths::pathForResource(const std::string& name,
                                                  const std::string& type) {
    // Resource names are plain file names; anything that could leave the directory is refused.
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == ".." ||
        type.find('/') != std::string::npos) {
        return std::nullopt;
    }
    std::string path = resourceDirectory() + "/" + name + (type.empty() ? "" : "." + type);
    if (!fileExists(path) || isDirectory(path)) return std::nullopt;
    return path;
}

}  // namespace examora
