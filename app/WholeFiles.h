#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Whole-file reads and writes of backup and restore, through handles opened here with
// explicit share modes (never a copy by name, which Windows refuses while the program
// holds the database open for writing).

// The bytes of a file nobody may write while it is read. False when it cannot be read.
bool ReadWholeFile(const std::wstring& path, std::vector<std::uint8_t>& bytes);

// Writes `bytes` as the file `target`: first under a temporary name beside it, opened
// without sharing and flushed to the disk, then renamed into place, so a failure or a
// stop half-way never leaves a partial file under the target's name (nor harms the file
// it would replace). With `replace` false an existing target is a failure. Waits a moment
// for a scanner that holds the new file. False when it could not be done.
bool WriteWholeFile(const std::wstring& target, const std::vector<std::uint8_t>& bytes, bool replace);
