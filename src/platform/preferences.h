#pragma once

#include <string>

#include "platform/dict.h"
#include "platform/value.h"

namespace examora {

// A key → number or text store kept in one JSON object file, the per-application preferences.
//
// Every write rewrites the file atomically (see writeFileAtomically), so a crash leaves either
// the old or the new content. A missing, unreadable or corrupt file reads as empty and is
// replaced wholesale by the next write. All instances share one lock, so threads may read and
// write the same file through any instance.
class Preferences {
  public:
    explicit Preferences(std::string path);

    // The stored value, or a null Value when the key is absent.
    Value get(const std::string& key) const;
    // Stores an integer, double or text. Bytes are stored as their text form; a null value removes
    // the key. False when the file could not be written (the failure is logged).
    bool set(const std::string& key, const Value& value);
    bool remove(const std::string& key);
    // Every stored pair, in key order.
    Dict all() const;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace examora
