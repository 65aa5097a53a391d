// DeviceId: the per-vendor device identifier (a digest of the machine id) and random UUIDs.

#include "platform/device_id.h"

#include <openssl/evp.h>
#include <uuid/uuid.h>

#include <mutex>

#include "platform/file_util.h"
#include "platform/text_util.h"

namespace examora {

namespace {

constexpr const char* kDefaultMachineIdPath = "/etc/machine-id";
// Prefix that makes the digest ours: other programs hashing the same machine id get other values.
constexpr const char* kDigestPrefix = "examora:";

std::mutex gMutex;
std::optional<std::string> gMachineIdPath;

std::string machineIdPath() {
    std::lock_guard<std::mutex> lock(gMutex);
    return gMachineIdPath.value_or(kDefaultMachineIdPath);
}

std::string formatUuid(const unsigned char (&b)[16]) {
    char buf[37];
    uuid_t u;
    for (int i = 0; i < 16; ++i)
        u[i] = b[i];
    uuid_unparse_upper(u, buf);
    return buf;
}

}  // namespace

void DeviceId::setMachineIdPath(const std::optional<std::string>& path) {
    std::lock_guard<std::mutex> lock(gMutex);
    gMachineIdPath = path;
}

std::optional<std::string> DeviceId::identifierForVendor() {
    std::optional<std::string> content = readFileContent(machineIdPath());
    if (!content) return std::nullopt;
    std::string id = trim(*content);
    // An uninitialised machine id ("uninitialized" during first boot) is no identity either.
    if (id.empty() || id == "uninitialized") return std::nullopt;

    std::string input = std::string(kDigestPrefix) + id;
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (EVP_Digest(input.data(), input.size(), digest, &size, EVP_sha256(), nullptr) != 1 ||
        size < 16) {
        return std::nullopt;
    }
    unsigned char b[16];
    for (int i = 0; i < 16; ++i)
        b[i] = digest[i];
    // Mark it as a name-based (version 5 layout) RFC 4122 UUID.
    b[6] = static_cast<unsigned char>((b[6] & 0x0F) | 0x50);
    b[8] = static_cast<unsigned char>((b[8] & 0x3F) | 0x80);
    return formatUuid(b);
}

std::string DeviceId::randomUUID() {
    uuid_t u;
    uuid_generate_random(u);
    char buf[37];
    uuid_unparse_upper(u, buf);
    return buf;
}

}  // namespace examora
