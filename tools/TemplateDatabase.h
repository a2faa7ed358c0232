#pragma once
#include <filesystem>

// The template database "filedat" that ships beside the program: the vehicles,
// catalogue and history tables, and the default catalogue of interventions. Its bytes
// depend on nothing but this code (fixed dates and ids), so the checksum derived from
// it is stable.
void WriteTemplateDatabase(const std::filesystem::path& path);
