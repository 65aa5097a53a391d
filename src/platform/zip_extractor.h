#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace examora {

// What one extraction did.
struct ZipExtractResult {
    // The archive opened and every entry was read: extracted, or refused for its name.
    bool complete = false;
    std::size_t files = 0;
    std::size_t directories = 0;
    // Entries refused because they would land outside the target folder or are links.
    std::vector<std::string> refused;
    // The failures, in the order met: "Error occurs" (an entry that cannot be opened),
    // "Error occurs while getting file info", "Failed to reading zip file" (a read or checksum
    // error inside an entry), or a file that could not be written.
    std::vector<std::string> errors;
};

// Extracts zip archives with minizip (no password), entry after entry in archive order.
//
// Names are read as UTF-8 and every "\" becomes "/"; a name ending in "/" is a directory. The
// target folder's own directories are created as needed and files are written in chunks of at
// most 4096 bytes, replacing an existing file. An entry whose name is absolute, holds a ".."
// component, or would pass through a link already under the target, and an entry stored as a
// symbolic link, is refused and the next entry follows: nothing is ever written outside the
// target folder. An entry that cannot be opened or whose information cannot be read ends the
// extraction; a read error inside an entry (checksum included) removes its partial file and the
// next entry follows. Either way the result is not complete.
class ZipExtractor {
  public:
    static constexpr std::size_t kChunkBytes = 4096;

    static ZipExtractResult extract(const std::filesystem::path& archive,
                                    const std::filesystem::path& target);
    // The relative path an entry name lands at ("\" as "/", a trailing "/" dropped), or the empty
    // path when the name must be refused.
    static std::filesystem::path safeEntryPath(const std::string& name);
};

}  // namespace examora
