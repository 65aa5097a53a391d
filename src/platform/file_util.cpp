// File reading, atomic replacement and install-if-absent copies.

#include "platform/file_util.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace examora {

namespace {

std::string errnoText(const char* what, const std::string& path) {
    return std::string(what) + " " + path + ": " + std::strerror(errno);
}

void setError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}

std::string parentOf(const std::string& path) {
    std::filesystem::path p(path);
    std::filesystem::path parent = p.parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// A name in the target's directory that no other writer (thread or process) uses.
std::string temporaryNameFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(counter++);
}

bool writeAll(int fd, std::string_view data) {
    const char* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

void syncDirectory(const std::string& dir) {
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Writes data to a new temporary file beside path; returns its name, or the empty text on failure
// (nothing is left behind then).
std::string writeTemporary(const std::string& path, std::string_view data, mode_t mode,
                           std::string* error) {
    std::string tmp = temporaryNameFor(path);
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) {
        setError(error, errnoText("cannot create", tmp));
        return {};
    }
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, data) && ::fsync(fd) == 0;
    if (!ok) setError(error, errnoText("cannot write", tmp));
    if (::close(fd) != 0 && ok) {
        ok = false;
        setError(error, errnoText("cannot close", tmp));
    }
    if (!ok) {
        ::unlink(tmp.c_str());
        return {};
    }
    return tmp;
}

}  // namespace

std::optional<std::string> readFileContent(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string out;
    char buf[8192];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        out.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return out;
}

bool writeFileAtomically(const std::string& path, std::string_view data, mode_t mode,
                         std::string* error) {
    std::string tmp = writeTemporary(path, data, mode, error);
    if (tmp.empty()) return false;
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        setError(error, errnoText("cannot replace", path));
        ::unlink(tmp.c_str());
        return false;
    }
    syncDirectory(parentOf(path));
    return true;
}

bool installFileIfAbsent(const std::string& from, const std::string& to, std::string* error) {
    if (fileExists(to)) return true;
    std::optional<std::string> content = readFileContent(from);
    if (!content) {
        setError(error, errnoText("cannot read", from));
        return false;
    }
    std::string tmp = writeTemporary(to, *content, 0644, error);
    if (tmp.empty()) return false;
    // link() refuses an existing target, unlike rename(); whoever installed first wins.
    bool ok = ::link(tmp.c_str(), to.c_str()) == 0 || errno == EEXIST;
    if (!ok) setError(error, errnoText("cannot install", to));
    ::unlink(tmp.c_str());
    if (ok) syncDirectory(parentOf(to));
    return ok;
}

bool ensureDirectory(const std::string& path, mode_t mode, bool exact) {
    std::error_code ec;
    std::filesystem::path p(path);
    std::filesystem::path partial;
    for (const auto& part : p) {
        partial /= part;
        if (partial.empty() || std::filesystem::is_directory(partial, ec)) continue;
        if (::mkdir(partial.c_str(), mode) != 0 && errno != EEXIST) return false;
    }
    if (!isDirectory(path)) return false;
    if (exact) return ::chmod(path.c_str(), mode) == 0;
    return true;
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool isDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace examora
