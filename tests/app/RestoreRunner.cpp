// Another running copy of the program restoring backups over the database, as fast as it
// can, until told to stop or killed:
//   RestoreRunner <database> <stop file> <progress mapping> <tag> <folder A> <folder B>
// It restores the backup in folder A, then the one in folder B, and so on, answering Yes
// to the question. After each restore the shared memory <progress mapping> (two 32-bit
// counters, made by the caller) holds the count of restores done, then of those refused.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "app/BackupRestore.h"
#include "data/DatabasePath.h"
#include "tests/app/ProgressCounters.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/Shell.h"

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc != 7) return 2;
  DatabasePath = argv[1];
  std::wstring stopFile = argv[2];
  ProgressCounters progress(argv[3]);
  const std::wstring folders[2] = {argv[5], argv[6]};
  LocalFree(argv);
  if (!progress.Open()) return 2;
  int round = 0;
  LumoUtility::SetFolderChooser([&](const std::string&, HWND) { return folders[round % 2]; });
  bool succeeded = false;
  LumoUtility::SetMessageBoxPresenter([&](const LumoUtility::MessageBoxRequest& box) {
    succeeded = box.text == "Ripristino del backup effettuato correttamente.";
    return IDYES;
  });
  LONG refused = 0;
  while (GetFileAttributesW(stopFile.c_str()) == INVALID_FILE_ATTRIBUTES) {
    succeeded = false;
    RestoreDatabase(nullptr);
    ++round;
    if (!succeeded) progress.SetRefused(++refused);
    progress.SetDone(round);
  }
  return 0;
}
