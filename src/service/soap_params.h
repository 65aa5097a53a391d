#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace examora {

// The named text parameters of one service call, written into the request in the order they
// were set. Setting a parameter to nullopt removes it, so it is not sent.
class SoapParams {
  public:
    using Entry = std::pair<std::string, std::string>;

    SoapParams() = default;
    SoapParams(std::initializer_list<Entry> entries) {
        for (const Entry& e : entries)
            set(e.first, e.second);
    }

    void set(const std::string& name, const std::optional<std::string>& value) {
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->first == name) {
                if (value) {
                    it->second = *value;
                } else {
                    entries_.erase(it);
                }
                return;
            }
        }
        if (value) entries_.emplace_back(name, *value);
    }
    const std::string* get(const std::string& name) const {
        for (const Entry& e : entries_) {
            if (e.first == name) return &e.second;
        }
        return nullptr;
    }

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }
    bool operator==(const SoapParams&) const = default;

  private:
    std::vector<Entry> entries_;
};

}  // namespace examora
