#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Whether a file's bytes are a database the program can work on: an Access (Jet 4) file
// the engine reads, holding VEICOLO, INTERVENTI and INTERVENTI_VEICOLO, whose rows and
// index pages are all there.
bool IsProgramDatabaseImage(const std::vector<std::uint8_t>& bytes);
