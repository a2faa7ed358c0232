#pragma once
#include <cstddef>
#include <cstdint>

namespace Jet {

// XORs `data` with the RC4 key stream of `key`. Applying it twice restores the input,
// so the same call hides and reveals the obfuscated part of the database header.
void ApplyRc4(const std::uint8_t* key, std::size_t keyLength, std::uint8_t* data,
              std::size_t length);

}  // namespace Jet
