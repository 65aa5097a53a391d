// SecureStore: named items in private files, archived as JSON.

#include "platform/secure_store.h"

#include <sys/stat.h>
#include <unistd.h>

#include <openssl/evp.h>
#include <cerrno>

#include <nlohmann/json.hpp>

#include "platform/base64.h"
#include "platform/file_util.h"
#include "platform/log.h"

namespace examora {

namespace {

using Json = nlohmann::json;

// Bytes are archived as an object with this single member holding their Base64.
constexpr const char* kBytesMember = "bytes";

// Encoded names longer than this are replaced by a digest, keeping file names below NAME_MAX.
constexpr std::size_t kMaxEncodedName = 200;

bool isSafeNameChar(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
}

// Over-long names are folded into the hex SHA-256 of the name.
std::string foldLongName(const std::string& name) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (EVP_Digest(name.data(), name.size(), digest, &size, EVP_sha256(), nullptr) != 1) size = 0;
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (unsigned int i = 0; i < size; ++i) {
        out += hex[digest[i] >> 4];
        out += hex[digest[i] & 15];
    }
    return out;
}

}  // namespace

SecureStore::SecureStore(std::string directory) : directory_(std::move(directory)) {}

std::string SecureStore::fileFor(const std::string& name) const {
    // Every byte outside [A-Za-z0-9_-] becomes %XX, so no name can produce "/", "." or "..".
    static const char* hex = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char c : name) {
        if (isSafeNameChar(c)) {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += hex[c >> 4];
            encoded += hex[c & 15];
        }
    }
    if (encoded.size() > kMaxEncodedName) encoded = "%long-" + foldLongName(name);
    return directory_ + "/item-" + encoded;
}

bool SecureStore::save(const std::string& name, const Value& value) {
    if (!ensureDirectory(directory_, 0700, /*exact=*/true)) {
        logf("cannot create secure store %@", directory_);
        return false;
    }
    std::string error;
    if (!writeFileAtomically(fileFor(name), archive(value), 0600, &error)) {
        logf("cannot save secure item %@: %@", name, error);
        return false;
    }
    return true;
}

std::optional<Value> SecureStore::load(const std::string& name) const {
    std::optional<std::string> data = readFileContent(fileFor(name));
    if (!data) return std::nullopt;
    std::string reason;
    std::optional<Value> value = unarchive(*data, &reason);
    if (!value) logf("Unarchive of %@ failed: %@", name, reason);
    return value;
}

bool SecureStore::remove(const std::string& name) {
    return ::unlink(fileFor(name).c_str()) == 0 || errno == ENOENT;
}

std::string SecureStore::archive(const Value& value) {
    Json j;
    switch (value.type()) {
        case Value::Type::Null:
            j = nullptr;
            break;
        case Value::Type::Integer:
            j = value.asInt64();
            break;
        case Value::Type::Double:
            j = value.asDouble();
            break;
        case Value::Type::Text:
            j = *value.textPtr();
            break;
        case Value::Type::Blob: {
            const Bytes& b = *value.bytesPtr();
            j = Json::object();
            j[kBytesMember] = base64Encode(b);
            break;
        }
    }
    return j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::optional<Value> SecureStore::unarchive(const std::string& data, std::string* reason) {
    Json j;
    try {
        j = Json::parse(data);
    } catch (const Json::exception& e) {
        if (reason) *reason = e.what();
        return std::nullopt;
    }
    if (j.is_null()) return Value();
    if (j.is_string()) return Value(j.get<std::string>());
    if (j.is_number_integer()) return Value(j.get<std::int64_t>());
    if (j.is_number_unsigned()) return Value(static_cast<std::int64_t>(j.get<std::uint64_t>()));
    if (j.is_number_float()) return Value(j.get<double>());
    if (j.is_object() && j.size() == 1 && j.contains(kBytesMember) && j[kBytesMember].is_string()) {
        std::optional<Bytes> bytes = base64Decode(j[kBytesMember].get<std::string>());
        if (bytes) return Value(std::move(*bytes));
    }
    if (reason) *reason = "not an archived value";
    return std::nullopt;
}

}  // namespace examora
