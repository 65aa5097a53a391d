#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/value.h"

namespace examora {

// Standard Base64 with padding.
std::string base64Encode(const std::uint8_t* data, std::size_t size);
inline std::string base64Encode(const Bytes& b) {
    return base64Encode(b.data(), b.size());
}
inline std::string base64Encode(std::string_view s) {
    return base64Encode(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
}

// Strict decoding: characters outside the alphabet, or a length that is not a multiple of four,
// give nullopt.
std::optional<Bytes> base64Decode(std::string_view text);

}  // namespace examora
