#pragma once

#include <optional>
#include <string>

namespace examora {

// Identifiers of this installation.
class DeviceId {
  public:
    // The per-vendor device identifier: an application-specific digest of the machine id, so the
    // same machine always gives the same value while the machine id itself is never disclosed.
    // Formatted as an upper-case UUID text. nullopt when the machine has no machine id.
    static std::optional<std::string> identifierForVendor();
    // A new random (version 4) UUID text in upper case.
    static std::string randomUUID();

    // Where the machine id is read from (tests point it elsewhere); nullopt restores the default
    // "/etc/machine-id".
    static void setMachineIdPath(const std::optional<std::string>& path);
};

}  // namespace examora
