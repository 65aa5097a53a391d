#pragma once

#include <string>

namespace examora {

// Slow salted password hashes (scrypt) for the reference service's accounts. The stored text
// names its parameters, "$scrypt$ln=15,r=8,p=1$<salt>$<hash>" (salt and hash in Base64), so the
// cost can be raised later without breaking stored hashes. A password is never kept or logged.
class PasswordHash {
  public:
    // A fresh random salt each time: the same password never gives the same text twice.
    // Empty when the hash could not be computed.
    static std::string hash(const std::string& password);
    // Whether the password matches the stored text; false for a text that is not such a hash.
    // Compares in constant time.
    static bool verify(const std::string& password, const std::string& stored);
    // Spends the time of one verification without any account, so that an unknown name costs
    // what a wrong password costs.
    static void burn(const std::string& password);
};

}  // namespace examora
