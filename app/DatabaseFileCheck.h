#pragma once
#include <string>

// Whether the file at path is a database the program can work on: an Access (Jet 4) file
// the engine reads, holding VEICOLO, INTERVENTI and INTERVENTI_VEICOLO, whose rows and
// index pages are all there. Reads only; never writes or locks the file.
bool IsProgramDatabase(const std::wstring& path);
