#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace LumoUtility {

// What the save dialog asks: its title, the file it proposes (a full path), the kind of
// file ("File CSV" and "*.csv", say) and the window it belongs to.
struct SaveFileRequest {
  std::string title;
  std::wstring proposedPath;
  std::string filterName;
  std::wstring filterPattern;
  HWND owner = nullptr;
};

// The system "Save as" dialog, which asks before replacing an existing file. Returns the
// chosen path, or "" when the user cancels.
std::wstring ChooseSaveFile(const SaveFileRequest& request);

// The dialog goes through one replaceable function, so that tests can choose the file
// (and see the request) instead of driving the system dialog. Installs one and returns
// the previous; an empty one restores the system dialog.
using SaveFileChooser = std::function<std::wstring(const SaveFileRequest& request)>;
SaveFileChooser SetSaveFileChooser(SaveFileChooser chooser);

// The user's Documents folder, "" when the system does not name one.
std::wstring DocumentsFolder();

}  // namespace LumoUtility
