#pragma once
#include <filesystem>

// Files the tests read. The Windows tests find them beside their executable, where the
// build puts them and where the Windows test kit carries them; the native tests read them
// from the source tree.

// The template database the program ships as "filedat".
std::filesystem::path TemplateFile();
// The folder of the sample databases (tests/data/samples).
std::filesystem::path SampleDatabaseFolder();
