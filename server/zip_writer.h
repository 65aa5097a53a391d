#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace examora {

// Writes one zip archive with minizip: entries added one after the other, each deflated. The
// archive handle and the open entry are owned by the writer; a writer destroyed before close()
// leaves an unusable file behind, which callers write under a temporary name.
class ZipWriter {
  public:
    explicit ZipWriter(const std::filesystem::path& path);
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    bool isOpen() const { return zip_ != nullptr; }
    // Starts an entry named `name` ("/" separated, relative); ends the open one first.
    bool beginEntry(const std::string& name);
    // Appends to the open entry.
    bool write(std::string_view bytes);
    // Adds an entry whole.
    bool addEntry(const std::string& name, std::string_view bytes);
    // Ends the open entry and writes the central directory; false when any step failed.
    bool close();

  private:
    bool endEntry();
    struct Closer {
        void operator()(void* zip) const;
    };
    std::unique_ptr<void, Closer> zip_;
    bool entryOpen_ = false;
    bool failed_ = false;
};

}  // namespace examora
