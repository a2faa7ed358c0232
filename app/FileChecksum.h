#pragma once
#include <filesystem>
#include <string>

// 16-byte XOR fold of a file (byte i goes into accumulator byte i mod 16), rendered as
// 32 upper-case hexadecimal digits. A file that cannot be read gives 32 zeros.
std::string ComputeFileChecksum(const std::filesystem::path& path);
