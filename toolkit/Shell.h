#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace LumoUtility {

// The system folder chooser. Returns the chosen folder (a file-system path, kept in
// UTF-16 so that any folder name works), or "" when the user cancels.
std::wstring BrowseForFolder(const std::string& title, HWND owner);

// The chooser goes through one replaceable function, so that tests can pick the folder
// (and see the title and owner) instead of driving the system dialog. Installs one and
// returns the previous; an empty one restores the system dialog.
using FolderChooser = std::function<std::wstring(const std::string& title, HWND owner)>;
FolderChooser SetFolderChooser(FolderChooser chooser);

// Opens a file or web address with the shell's "open" verb; true on success.
bool OpenDocument(const std::string& pathOrAddress);

}  // namespace LumoUtility
