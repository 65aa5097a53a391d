// ZipExtractor: minizip extraction that keeps every entry inside its target folder.
#include "platform/zip_extractor.h"

#include <minizip/unzip.h>
#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <system_error>

#include "platform/log.h"

namespace examora {

namespace {

struct UnzipCloser {
    void operator()(void* zip) const { unzClose(static_cast<unzFile>(zip)); }
};
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Zip entries made on Unix keep the file mode in the high half of the external attributes.
constexpr unsigned kMadeOnUnix = 3;

bool isLink(const unz_file_info64& info) {
    if ((info.version >> 8) != kMadeOnUnix) return false;
    const unsigned mode = static_cast<unsigned>(info.external_fa >> 16);
    return S_ISLNK(mode);
}

// Whether some directory on the way from target to path (path excluded) is a link.
bool passesThroughLink(const std::filesystem::path& target, const std::filesystem::path& relative) {
    std::filesystem::path at = target;
    std::error_code ec;
    for (auto it = relative.begin(); it != relative.end(); ++it) {
        at /= *it;
        if (std::filesystem::is_symlink(std::filesystem::symlink_status(at, ec))) return true;
    }
    return false;
}

}  // namespace

std::filesystem::path ZipExtractor::safeEntryPath(const std::string& name) {
    std::string text = name;
    for (char& c : text)
        if (c == '\\') c = '/';
    while (!text.empty() && text.back() == '/')
        text.pop_back();
    if (text.empty() || text.front() == '/' || text.find('\0') != std::string::npos)
        return std::filesystem::path();
    // A drive letter ("C:") makes a name absolute elsewhere; it has no place in a package.
    if (text.size() >= 2 && text[1] == ':') return std::filesystem::path();
    std::filesystem::path relative;
    for (const auto& part : std::filesystem::path(text)) {
        if (part == "..") return std::filesystem::path();
        if (part == "." || part.empty()) continue;
        relative /= part;
    }
    return relative;
}

ZipExtractResult ZipExtractor::extract(const std::filesystem::path& archive,
                                       const std::filesystem::path& target) {
    ZipExtractResult result;
    std::unique_ptr<void, UnzipCloser> zip(unzOpen64(archive.c_str()));
    if (!zip) {
        result.errors.push_back("Error occurs");
        return result;
    }
    unzFile z = static_cast<unzFile>(zip.get());
    std::error_code ec;
    std::filesystem::create_directories(target, ec);
    int rc = unzGoToFirstFile(z);
    if (rc != UNZ_OK && rc != UNZ_END_OF_LIST_OF_FILE) {
        result.errors.push_back("Error occurs");
        return result;
    }
    for (; rc == UNZ_OK; rc = unzGoToNextFile(z)) {
        unz_file_info64 info{};
        char nameBuffer[4096];
        if (unzGetCurrentFileInfo64(z, &info, nameBuffer, sizeof nameBuffer, nullptr, 0, nullptr,
                                    0) != UNZ_OK) {
            result.errors.push_back("Error occurs while getting file info");
            return result;
        }
        const std::string name(nameBuffer);
        const bool directory = !name.empty() && (name.back() == '/' || name.back() == '\\');
        const std::filesystem::path relative = safeEntryPath(name);
        if (relative.empty() || isLink(info) || passesThroughLink(target, relative.parent_path())) {
            logf("zip entry refused: %@", name);
            result.refused.push_back(name);
            continue;
        }
        const std::filesystem::path path = target / relative;
        if (directory) {
            std::filesystem::create_directories(path, ec);
            ++result.directories;
            continue;
        }
        std::filesystem::create_directories(path.parent_path(), ec);
        if (std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec))) {
            result.refused.push_back(name);
            continue;
        }
        if (unzOpenCurrentFile(z) != UNZ_OK) {
            result.errors.push_back("Error occurs");
            return result;
        }
        bool failed = false;
        {
            std::unique_ptr<std::FILE, FileCloser> out(std::fopen(path.c_str(), "wb"));
            if (!out) failed = true;
            char buffer[kChunkBytes];
            while (!failed) {
                const int n = unzReadCurrentFile(z, buffer, sizeof buffer);
                if (n < 0) failed = true;
                if (n <= 0) break;
                if (std::fwrite(buffer, 1, static_cast<std::size_t>(n), out.get()) !=
                    static_cast<std::size_t>(n))
                    failed = true;
            }
            if (out && std::fflush(out.get()) != 0) failed = true;
        }
        // The checksum is checked when the entry is closed.
        if (unzCloseCurrentFile(z) != UNZ_OK) failed = true;
        if (failed) {
            result.errors.push_back("Failed to reading zip file");
            std::filesystem::remove(path, ec);
            continue;
        }
        ++result.files;
    }
    if (rc != UNZ_END_OF_LIST_OF_FILE) {
        result.errors.push_back("Error occurs");
        return result;
    }
    result.complete = result.errors.empty();
    return result;
}

}  // namespace examora
