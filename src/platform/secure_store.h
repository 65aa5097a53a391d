#pragma once

#include <optional>
#include <string>

#include "platform/value.h"

namespace examora {

// Named items kept out of reach of other users: one file per item in a directory of mode 0700,
// each file of mode 0600, holding the archived form of the value (its JSON).
//
// Any text is a valid item name: names are encoded into file names that never leave the
// directory, so "../x" or "/etc/passwd" name ordinary items inside it.
class SecureStore {
  public:
    explicit SecureStore(std::string directory);

    // Replaces any item of that name with one holding the value. False when it cannot be written.
    bool save(const std::string& name, const Value& value);
    // The item's value; nullopt when there is no such item, or when its content cannot be
    // unarchived, in which case "Unarchive of %@ failed: %@" is logged with the name and reason.
    std::optional<Value> load(const std::string& name) const;
    // Removes the item; true when no such item exists afterwards.
    bool remove(const std::string& name);

    // The file that holds the item of that name (whether or not it exists).
    std::string fileFor(const std::string& name) const;
    const std::string& directory() const { return directory_; }

    // The archived form of a value and its reverse; unarchive gives nullopt and a reason for
    // content that is not an archived value.
    static std::string archive(const Value& value);
    static std::optional<Value> unarchive(const std::string& data, std::string* reason);

  private:
    std::string directory_;
};

}  // namespace examora
