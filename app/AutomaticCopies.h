#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/AutomaticCopyNames.h"

// The automatic copies of the database, in the folder "copie" beside it: one written at
// the end of every run that changed data, the newest kAutomaticCopiesKept kept.

// "<folder of the database>\copie\".
std::wstring AutomaticCopyFolder(const std::wstring& database);

// Writes a copy of the database at a committed point, named after `now` (local time; a
// name already taken, by a copy of the same second, moves it on a second, so that no copy
// replaces another), checks that the copy is a database the program can work on (one
// that is not is deleted again), then deletes the oldest copies beyond those kept.
// Only reads the database. False when no good copy was written.
bool WriteAutomaticCopy(const std::wstring& database, const SYSTEMTIME& now);

struct AutomaticCopy {
  std::wstring path;
  CopyTime time;
  std::uint64_t bytes = 0;
};

// The copies there are, newest first.
std::vector<AutomaticCopy> ListAutomaticCopies(const std::wstring& database);
