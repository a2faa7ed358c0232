#pragma once
#include <string>

// Path text helpers shared by start-up and backup/restore. "/" counts as a separator.
// Both 8-bit and UTF-16 forms: file-system paths are kept in UTF-16.

// The path up to and including its last separator (or its drive colon), or "".
std::string DirectoryPart(const std::string& path);
std::wstring DirectoryPart(const std::wstring& path);
// The path after DirectoryPart.
std::string FileNamePart(const std::string& path);
std::wstring FileNamePart(const std::wstring& path);
// The path with a backslash appended unless it is empty or already ends in a separator.
std::string WithTrailingBackslash(const std::string& path);
std::wstring WithTrailingBackslash(const std::wstring& path);
