// ContentCipher: the AES-256-CBC cipher of stored question content.

#include "store/content_cipher.h"

#include <openssl/evp.h>

#include <array>
#include <cstring>
#include <memory>

#include "platform/base64.h"

namespace examora {

namespace {

constexpr char kKeyText[] = "4rfv[;.,";

struct ContextDeleter {
    void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};
using ContextPtr = std::unique_ptr<EVP_CIPHER_CTX, ContextDeleter>;

struct CipherDeleter {
    void operator()(EVP_CIPHER* cipher) const { EVP_CIPHER_free(cipher); }
};

std::array<std::uint8_t, ContentCipher::kKeySize> makeKey() {
    std::array<std::uint8_t, ContentCipher::kKeySize> key{};
    std::memcpy(key.data(), kKeyText, std::min(sizeof kKeyText - 1, key.size()));
    return key;
}

const std::array<std::uint8_t, ContentCipher::kKeySize> kKey = makeKey();
const std::array<std::uint8_t, ContentCipher::kBlockSize> kZeroIv{};

// Fetched once: an explicit fetch spares every initialisation the provider lookup that the
// implicit EVP_aes_256_cbc() object costs.
const EVP_CIPHER* aes256Cbc() {
    static const std::unique_ptr<EVP_CIPHER, CipherDeleter> cipher(
        EVP_CIPHER_fetch(nullptr, "AES-256-CBC", nullptr));
    return cipher.get();
}

// One context per thread and direction. The key schedule is computed when the context is first
// keyed; each later use only resets the initialisation vector. After any failure the context is
// dropped so that the next use starts from a clean one.
class ThreadContext {
  public:
    explicit ThreadContext(bool encrypt) : encrypt_(encrypt) {}

    EVP_CIPHER_CTX* begin() {
        if (ctx_ &&
            EVP_CipherInit_ex2(ctx_.get(), nullptr, nullptr, kZeroIv.data(), -1, nullptr) == 1) {
            return ctx_.get();
        }
        ctx_.reset(EVP_CIPHER_CTX_new());
        if (!ctx_ || !aes256Cbc() ||
            EVP_CipherInit_ex2(ctx_.get(), aes256Cbc(), kKey.data(), kZeroIv.data(),
                               encrypt_ ? 1 : 0, nullptr) != 1) {
            ctx_.reset();
            return nullptr;
        }
        return ctx_.get();
    }
    void fail() { ctx_.reset(); }

  private:
    bool encrypt_;
    ContextPtr ctx_;
};

ThreadContext& encryptContext() {
    thread_local ThreadContext ctx(true);
    return ctx;
}
ThreadContext& decryptContext() {
    thread_local ThreadContext ctx(false);
    return ctx;
}

// Runs the whole cipher over [data, data+size) into out, which must hold size + one block.
// Returns the output length, or -1 on failure.
long runCipher(ThreadContext& tc, const std::uint8_t* data, std::size_t size, std::uint8_t* out) {
    if (size > static_cast<std::size_t>(INT32_MAX) - ContentCipher::kBlockSize) return -1;
    EVP_CIPHER_CTX* ctx = tc.begin();
    if (!ctx) return -1;
    int len = 0;
    int tail = 0;
    if (EVP_CipherUpdate(ctx, out, &len, data, static_cast<int>(size)) != 1 ||
        EVP_CipherFinal_ex(ctx, out + len, &tail) != 1) {
        tc.fail();
        return -1;
    }
    return static_cast<long>(len) + tail;
}

}  // namespace

const std::uint8_t* ContentCipher::key() {
    return kKey.data();
}

std::optional<Bytes> ContentCipher::encrypt(const std::uint8_t* data, std::size_t size) {
    Bytes out(size + kBlockSize);
    long n = runCipher(encryptContext(), data, size, out.data());
    if (n < 0) return std::nullopt;
    out.resize(static_cast<std::size_t>(n));
    return out;
}

std::optional<std::string> ContentCipher::decrypt(const std::uint8_t* data, std::size_t size) {
    // CBC with padding: anything but a non-empty whole number of blocks cannot be a ciphertext.
    if (size == 0 || size % kBlockSize != 0) return std::nullopt;
    std::string out(size + kBlockSize, '\0');
    long n = runCipher(decryptContext(), data, size, reinterpret_cast<std::uint8_t*>(out.data()));
    if (n < 0) return std::nullopt;
    out.resize(static_cast<std::size_t>(n));
    return out;
}

std::optional<std::string> ContentCipher::encipher(std::string_view plain) {
    std::optional<Bytes> bytes =
        encrypt(reinterpret_cast<const std::uint8_t*>(plain.data()), plain.size());
    if (!bytes) return std::nullopt;
    return base64Encode(*bytes);
}

std::optional<std::string> ContentCipher::decipher(std::string_view cipherText) {
    std::optional<Bytes> bytes = base64Decode(cipherText);
    if (!bytes) return std::nullopt;
    return decrypt(bytes->data(), bytes->size());
}

}  // namespace examora
