// Dict: name to Value in insertion order, looked up by linear scan.

#include "platform/dict.h"

#include "platform/text_util.h"

namespace examora {

namespace {
const Value kNull;
}

Dict::Dict(std::initializer_list<Entry> entries) {
    entries_.reserve(entries.size());
    for (const Entry& e : entries)
        set(e.first, e.second);
}

const Value* Dict::find(std::string_view name) const {
    for (const Entry& e : entries_) {
        if (e.first == name) return &e.second;
    }
    return nullptr;
}

const Value& Dict::get(std::string_view name) const {
    const Value* v = find(name);
    return v ? *v : kNull;
}

const Value& Dict::getIgnoringCase(std::string_view name) const {
    if (const Value* v = find(name)) return *v;
    for (const Entry& e : entries_) {
        if (equalsIgnoringCase(e.first, name)) return e.second;
    }
    return kNull;
}

void Dict::set(std::string_view name, Value value) {
    for (Entry& e : entries_) {
        if (e.first == name) {
            e.second = std::move(value);
            return;
        }
    }
    entries_.emplace_back(std::string(name), std::move(value));
}

bool Dict::erase(std::string_view name) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->first == name) {
            entries_.erase(it);
            return true;
        }
    }
    return false;
}

}  // namespace examora
