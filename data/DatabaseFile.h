#pragma once
#include <cstdint>
#include <string>
#include <vector>

// File-level work on the program's database: the one face that backup and restore use.
// Every step that touches the database runs under the writer lock that each running copy
// of the program takes, so it sees and leaves the file at a committed point.

// Whether a file's bytes are a database the program can work on: an Access (Jet 4) file
// the engine reads, holding VEICOLO, INTERVENTI and INTERVENTI_VEICOLO, whose rows and
// index pages are all there.
bool IsProgramDatabaseImage(const std::vector<std::uint8_t>& bytes);

// The whole content of a file (a backup to restore); throws when it cannot be read.
std::vector<std::uint8_t> ReadFileBytes(const std::wstring& path);

// Writes a copy of the database at a committed point as `target` (with `replace` false an
// existing target is a failure). Another running copy may be writing the database: its
// bytes are read under the lock (shared when the file can only be read), after rolling
// back a commit that was cut short. False when the copy could not be made.
bool CopyCommittedDatabase(const std::wstring& database, const std::wstring& target, bool replace);

enum class ReplaceOutcome { kDone, kFailed, kFailedAfterSafetyCopy };

// Saves the database as the first free safety copy (database.000, .001, ...), then writes
// `content` over it as one commit through the journal, all under the lock: no other
// running copy writes in between, the safety copy is complete before the database
// changes, and a stop at any moment leaves the old database or the new one. `safety`
// names the copy once it exists. kFailedAfterSafetyCopy: the old content could not be
// put back yet (the next open does it), so the user must be told where the copy is.
ReplaceOutcome ReplaceKeepingSafetyCopy(const std::wstring& database,
                                        const std::vector<std::uint8_t>& content,
                                        std::wstring& safety);
