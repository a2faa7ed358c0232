#include "app/FileChecksum.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/TemporaryDirectory.h"

namespace {

std::string ChecksumOfBytes(const std::string& bytes) {
  TemporaryDirectory folder("checksum");
  WriteFileBytes(folder / "data", bytes);
  return ComputeFileChecksum(folder / "data");
}

}  // namespace

TEST(FileChecksum, SmallFiles) {
  EXPECT_EQ(ChecksumOfBytes(""), std::string(32, '0'));
  std::string counting;
  for (int i = 0; i < 16; ++i) counting.push_back(static_cast<char>(i));
  EXPECT_EQ(ChecksumOfBytes(counting), "000102030405060708090A0B0C0D0E0F");
  EXPECT_EQ(ChecksumOfBytes(std::string(32, '\xFF')), std::string(32, '0'));
  EXPECT_EQ(ChecksumOfBytes(std::string(1, '\x80')), "80" + std::string(30, '0'));
}

TEST(FileChecksum, FoldsAcrossBlockBoundaries) {
  // Larger than one 10240-byte read: byte i always lands in accumulator byte i mod 16.
  std::string bytes(10240 * 2 + 37, '\0');
  unsigned char expected[16] = {};
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    auto value = static_cast<unsigned char>((i * 131 + i / 7) & 0xFF);
    bytes[i] = static_cast<char>(value);
    expected[i % 16] ^= value;
  }
  std::string rendered;
  const char* hex = "0123456789ABCDEF";
  for (unsigned char b : expected) {
    rendered.push_back(hex[b >> 4]);
    rendered.push_back(hex[b & 15]);
  }
  EXPECT_EQ(ChecksumOfBytes(bytes), rendered);
}

TEST(FileChecksum, RendersUpperCaseTwoDigitBytes) {
  std::string bytes = {'\x0A', '\xF3'};
  std::string sum = ChecksumOfBytes(bytes);
  EXPECT_EQ(sum, "0AF3" + std::string(28, '0'));
  EXPECT_EQ(sum.size(), 32u);
}

TEST(FileChecksum, MissingFileGivesZeros) {
  TemporaryDirectory folder("checksum");
  EXPECT_EQ(ComputeFileChecksum(folder / "absent"), std::string(32, '0'));
}
