#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The copies of the database file that DatabaseFile.h makes are written through a handle
// opened here with explicit share modes (never a copy of the database by name, which
// Windows refuses while the program holds it open for writing).

// Writes `bytes` as the file `target`: first under a temporary name beside it, opened
// without sharing and flushed to the disk, then renamed into place, so a failure or a
// stop half-way never leaves a partial file under the target's name (nor harms the file
// it would replace). With `replace` false an existing target is a failure. Waits a moment
// for a scanner that holds the new file. False when it could not be done.
bool WriteWholeFile(const std::wstring& target, const std::vector<std::uint8_t>& bytes,
                    bool replace);

// The name `target` is written under before it is renamed into place: while it exists,
// someone is writing the target (or was stopped doing so).
std::wstring WritingNameOf(const std::wstring& target);
