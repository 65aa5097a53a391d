#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/value.h"

namespace examora {

// Name → Value, keeping insertion order. A result row's resultDictionary and a JSON object from
// the service both become a Dict. Records have a few dozen fields at most, so lookup is a linear
// scan, which beats hashing at this size.
class Dict {
  public:
    using Entry = std::pair<std::string, Value>;

    Dict() = default;
    Dict(std::initializer_list<Entry> entries);

    // The value under the name, or a null Value when there is none.
    const Value& get(std::string_view name) const;
    // As get, but the name is compared ignoring ASCII case.
    const Value& getIgnoringCase(std::string_view name) const;
    const Value* find(std::string_view name) const;
    bool contains(std::string_view name) const { return find(name) != nullptr; }

    // Sets the value under the name, replacing an earlier one in place.
    void set(std::string_view name, Value value);
    bool erase(std::string_view name);

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    void reserve(std::size_t n) { entries_.reserve(n); }
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }

    bool operator==(const Dict& other) const = default;

  private:
    std::vector<Entry> entries_;
};

using DictList = std::vector<Dict>;

}  // namespace examora
