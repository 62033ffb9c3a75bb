// SHA-256 through the system's own cryptography: CNG (bcrypt.dll) where the system has it,
// CryptoAPI otherwise.
#pragma once

#include <optional>
#include <string>

namespace vnt {

// The digest of the bytes as 64 lower-case hex digits; nothing when the system cannot give one.
std::optional<std::string> Sha256Hex(const std::string& bytes);

}  // namespace vnt
