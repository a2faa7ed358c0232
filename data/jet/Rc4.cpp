#include "data/jet/Rc4.h"

#include <utility>

namespace Jet {

void ApplyRc4(const std::uint8_t* key, std::size_t keyLength, std::uint8_t* data,
              std::size_t length) {
  std::uint8_t state[256];
  for (int i = 0; i < 256; ++i) state[i] = static_cast<std::uint8_t>(i);
  std::uint8_t j = 0;
  for (int i = 0; i < 256; ++i) {
    j = static_cast<std::uint8_t>(j + state[i] + key[static_cast<std::size_t>(i) % keyLength]);
    std::swap(state[i], state[j]);
  }
  std::uint8_t i = 0;
  j = 0;
  for (std::size_t n = 0; n < length; ++n) {
    i = static_cast<std::uint8_t>(i + 1);
    j = static_cast<std::uint8_t>(j + state[i]);
    std::swap(state[i], state[j]);
    data[n] ^= state[static_cast<std::uint8_t>(state[i] + state[j])];
  }
}

}  // namespace Jet
