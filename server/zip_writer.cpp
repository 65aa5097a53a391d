// ZipWriter: a minizip archive written entry by entry.
#include "server/zip_writer.h"

#include <minizip/zip.h>

#include <climits>

namespace examora {

void ZipWriter::Closer::operator()(void* zip) const {
    zipClose(static_cast<zipFile>(zip), nullptr);
}

ZipWriter::ZipWriter(const std::filesystem::path& path)
    : zip_(zipOpen64(path.c_str(), APPEND_STATUS_CREATE)) {}

ZipWriter::~ZipWriter() {
    if (entryOpen_) zipCloseFileInZip(static_cast<zipFile>(zip_.get()));
}

bool ZipWriter::beginEntry(const std::string& name) {
    if (!zip_ || !endEntry()) return false;
    zip_fileinfo info{};
    // Entries may exceed 4 GB only in theory; zip64 headers cost a few bytes each.
    if (zipOpenNewFileInZip64(static_cast<zipFile>(zip_.get()), name.c_str(), &info, nullptr, 0,
                              nullptr, 0, nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION,
                              1) != ZIP_OK) {
        failed_ = true;
        return false;
    }
    entryOpen_ = true;
    return true;
}

bool ZipWriter::write(std::string_view bytes) {
    if (!entryOpen_) return false;
    while (!bytes.empty()) {
        const unsigned n =
            bytes.size() > UINT_MAX / 2 ? UINT_MAX / 2 : static_cast<unsigned>(bytes.size());
        if (zipWriteInFileInZip(static_cast<zipFile>(zip_.get()), bytes.data(), n) != ZIP_OK) {
            failed_ = true;
            return false;
        }
        bytes.remove_prefix(n);
    }
    return true;
}

bool ZipWriter::addEntry(const std::string& name, std::string_view bytes) {
    return beginEntry(name) && write(bytes);
}

bool ZipWriter::endEntry() {
    if (!entryOpen_) return true;
    entryOpen_ = false;
    if (zipCloseFileInZip(static_cast<zipFile>(zip_.get())) != ZIP_OK) failed_ = true;
    return !failed_;
}

bool ZipWriter::close() {
    if (!zip_) return false;
    bool ok = endEntry();
    ok = zipClose(static_cast<zipFile>(zip_.release()), nullptr) == ZIP_OK && ok;
    return ok && !failed_;
}

}  // namespace examora
