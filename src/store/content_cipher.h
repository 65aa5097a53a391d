#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/value.h"

namespace examora {

// The cipher of stored question content (subject titles and explanations): AES-256 in CBC mode
// with an all-zero initialisation vector and PKCS#7 padding, under the fixed content key (the
// text "4rfv[;.," copied into 32 zero bytes), carried as standard Base64 text.
//
// Every operation is safe to call from any thread; each thread reuses its own cipher contexts,
// whose key schedule is set up once.
class ContentCipher {
  public:
    // Base64 text of the encipherment of the UTF-8 text; nullopt only if the cipher fails.
    static std::optional<std::string> encipher(std::string_view plain);
    // The plain text of a stored Base64 ciphertext. Text that is not Base64, whose bytes are not
    // a whole number of cipher blocks, whose padding is wrong, or whose plain text is not UTF-8
    // gives nullopt.
    static std::optional<std::string> decipher(std::string_view cipherText);

    // The raw cipher without Base64, for callers that already hold bytes.
    static std::optional<Bytes> encrypt(const std::uint8_t* data, std::size_t size);
    static std::optional<std::string> decrypt(const std::uint8_t* data, std::size_t size);

    // The 32-byte key: the key text's bytes from the start, the rest zero.
    static constexpr std::size_t kKeySize = 32;
    static constexpr std::size_t kBlockSize = 16;
    static const std::uint8_t* key();
};

}  // namespace examora
