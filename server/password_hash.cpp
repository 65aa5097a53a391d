// PasswordHash: scrypt password hashes with a random salt, through OpenSSL.
#include "server/password_hash.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <charconv>
#include <optional>

#include "platform/base64.h"
#include "platform/text_util.h"

namespace examora {

namespace {

// 2^15 × 8 × 128 bytes = 32 MiB and roughly 0.1 s per hash on a current core.
constexpr unsigned kLogN = 15;
constexpr unsigned kR = 8;
constexpr unsigned kP = 1;
constexpr std::size_t kSaltBytes = 16;
constexpr std::size_t kHashBytes = 32;
// The largest cost a stored text may ask for; a damaged or hostile text cannot ask for more.
constexpr unsigned kMaxLogN = 20;
constexpr std::uint64_t kMaxMemory = 1ull << 31;

std::optional<Bytes> derive(const std::string& password, const Bytes& salt, unsigned logN,
                            unsigned r, unsigned p, std::size_t length) {
    Bytes out(length);
    if (EVP_PBE_scrypt(password.data(), password.size(), salt.data(), salt.size(),
                       std::uint64_t{1} << logN, r, p, kMaxMemory, out.data(), out.size()) != 1) {
        return std::nullopt;
    }
    return out;
}

std::optional<unsigned> number(std::string_view text, std::string_view prefix) {
    if (!startsWith(text, prefix)) return std::nullopt;
    text.remove_prefix(prefix.size());
    unsigned n = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return n;
}

const std::string& dummyHash() {
    static const std::string dummy = PasswordHash::hash("examora: no such account");
    return dummy;
}

}  // namespace

std::string PasswordHash::hash(const std::string& password) {
    Bytes salt(kSaltBytes);
    if (RAND_bytes(salt.data(), static_cast<int>(salt.size())) != 1) return std::string();
    std::optional<Bytes> key = derive(password, salt, kLogN, kR, kP, kHashBytes);
    if (!key) return std::string();
    return "$scrypt$ln=" + std::to_string(kLogN) + ",r=" + std::to_string(kR) +
           ",p=" + std::to_string(kP) + "$" + base64Encode(salt) + "$" + base64Encode(*key);
}

bool PasswordHash::verify(const std::string& password, const std::string& stored) {
    // "", "scrypt", parameters, salt, hash.
    const std::vector<std::string> parts = split(stored, "$");
    if (parts.size() != 5 || !parts[0].empty() || parts[1] != "scrypt") return false;
    const std::vector<std::string> params = split(parts[2], ",");
    if (params.size() != 3) return false;
    std::optional<unsigned> logN = number(params[0], "ln=");
    std::optional<unsigned> r = number(params[1], "r=");
    std::optional<unsigned> p = number(params[2], "p=");
    if (!logN || !r || !p || *logN < 1 || *logN > kMaxLogN || *r < 1 || *r > 64 || *p < 1 ||
        *p > 16) {
        return false;
    }
    std::optional<Bytes> salt = base64Decode(parts[3]);
    std::optional<Bytes> expected = base64Decode(parts[4]);
    if (!salt || !expected || expected->empty() || expected->size() > 64) return false;
    std::optional<Bytes> key = derive(password, *salt, *logN, *r, *p, expected->size());
    return key && CRYPTO_memcmp(key->data(), expected->data(), key->size()) == 0;
}

void PasswordHash::burn(const std::string& password) {
    (void)verify(password, dummyHash());
}

}  // namespace examora
