// Preferences: the key to number or text store in one JSON file, written atomically.

#include "platform/preferences.h"

#include <filesystem>
#include <mutex>
#include <nlohmann/json.hpp>

#include "platform/file_util.h"
#include "platform/log.h"

namespace examora {

namespace {

using Json = nlohmann::json;

std::mutex gPreferencesMutex;

// The stored object; anything that is not a readable JSON object counts as empty.
Json readObject(const std::string& path) {
    std::optional<std::string> text = readFileContent(path);
    if (!text) return Json::object();
    Json doc = Json::parse(*text, nullptr, /*allow_exceptions=*/false);
    return doc.is_object() ? doc : Json::object();
}

Value toValue(const Json& j) {
    if (j.is_number_integer()) return Value(j.get<std::int64_t>());
    if (j.is_number_unsigned()) return Value(static_cast<std::int64_t>(j.get<std::uint64_t>()));
    if (j.is_number_float()) return Value(j.get<double>());
    if (j.is_string()) return Value(j.get<std::string>());
    if (j.is_boolean()) return Value(j.get<bool>());
    return Value();
}

Json toJson(const Value& v) {
    switch (v.type()) {
        case Value::Type::Integer:
            return Json(v.asInt64());
        case Value::Type::Double:
            return Json(v.asDouble());
        default:
            return Json(v.asString());
    }
}

bool writeObject(const std::string& path, const Json& doc) {
    // Invalid UTF-8 in a text is replaced rather than refusing the whole write.
    std::string text = doc.dump(2, ' ', false, Json::error_handler_t::replace);
    text += '\n';
    std::string error;
    std::string dir = std::filesystem::path(path).parent_path().string();
    if (!dir.empty()) ensureDirectory(dir, 0700);
    if (!writeFileAtomically(path, text, 0600, &error)) {
        logf("cannot save preferences: %@", error);
        return false;
    }
    return true;
}

}  // namespace

Preferences::Preferences(std::string path) : path_(std::move(path)) {}

Value Preferences::get(const std::string& key) const {
    std::lock_guard<std::mutex> lock(gPreferencesMutex);
    Json doc = readObject(path_);
    auto it = doc.find(key);
    return it == doc.end() ? Value() : toValue(*it);
}

bool Preferences::set(const std::string& key, const Value& value) {
    if (value.isNull()) return remove(key);
    std::lock_guard<std::mutex> lock(gPreferencesMutex);
    Json doc = readObject(path_);
    doc[key] = toJson(value);
    return writeObject(path_, doc);
}

bool Preferences::remove(const std::string& key) {
    std::lock_guard<std::mutex> lock(gPreferencesMutex);
    Json doc = readObject(path_);
    doc.erase(key);
    return writeObject(path_, doc);
}

Dict Preferences::all() const {
    std::lock_guard<std::mutex> lock(gPreferencesMutex);
    Json doc = readObject(path_);
    Dict out;
    for (auto it = doc.begin(); it != doc.end(); ++it)
        out.set(it.key(), toValue(it.value()));
    return out;
}

}  // namespace examora
