#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "data/jet/Database.h"

// The sample databases under tests/data/samples (made by Access or Jet; test fixtures).
std::filesystem::path SamplesDirectory();
std::vector<std::string> SampleNames();
std::vector<std::uint8_t> ReadSampleBytes(const std::string& name);

// A database over an image in memory; `bytes` must outlive it.
Jet::Database OpenImage(const std::vector<std::uint8_t>& bytes);

// Everything a reader can get from a database, as text, for comparing two reads.
std::string DumpDatabase(const Jet::Database& database);

std::u16string U16(const char* ascii);
std::string Narrow(const std::u16string& text);
