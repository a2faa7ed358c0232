#pragma once
#include <string>

// File-system steps of start-up and backup/restore. Paths stay in UTF-16 from the
// system call that gives them to the call that uses them.

// Whether a file or folder exists at path (a test, not an open).
bool PathExists(const std::wstring& path);
// Clears the read-only attribute of a file, leaving its other attributes; true when the
// file ends up writable (or was already).
bool ClearReadOnly(const std::wstring& path);
// True if the folder existed or was created (one level: parents are not created).
bool EnsureDirectory(const std::wstring& path);
// The user's local application-data folder, or "".
std::wstring LocalAppDataFolder();
// <local app data>\<name>\dati\, created as needed; "" on failure.
std::wstring PrepareUserDataFolder(const std::string& applicationFolderName);
