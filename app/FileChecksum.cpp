#include "app/FileChecksum.h"

#include <array>
#include <cstdio>
#include <fstream>

namespace {
constexpr std::size_t kBlockSize = 10240;  // a multiple of 16, so blocks fold seamlessly
}

std::string ComputeFileChecksum(const std::filesystem::path& path) {
  std::array<unsigned char, 16> accumulator{};
  std::ifstream file(path, std::ios::binary);
  if (file) {
    std::array<char, kBlockSize> block;
    while (true) {
      file.read(block.data(), block.size());
      std::streamsize count = file.gcount();
      if (file.bad()) break;  // a read error: these bytes are not folded
      for (std::streamsize k = 0; k < count; ++k) {
        accumulator[static_cast<std::size_t>(k) % 16] ^= static_cast<unsigned char>(block[k]);
      }
      if (file.eof() || count < static_cast<std::streamsize>(block.size())) break;
    }
  }
  std::string text;
  for (unsigned char byte : accumulator) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", byte);
    text += digits;
  }
  return text;
}
