#pragma once
#include <string>

// Full path of the user's database file; set once by start-up, read by every data
// store and by backup/restore. UTF-16, so that any user folder name works.
extern std::wstring DatabasePath;
