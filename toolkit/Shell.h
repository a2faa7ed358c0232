#pragma once
#include <windows.h>

#include <string>

namespace LumoUtility {

// The system folder chooser. Returns the chosen folder (a file-system path, kept in
// UTF-16 so that any folder name works), or "" when the user cancels.
std::wstring BrowseForFolder(const std::string& title, HWND owner);

// Opens a file or web address with the shell's "open" verb; true on success.
bool OpenDocument(const std::string& pathOrAddress);

}  // namespace LumoUtility
