#include "app/BackupRestore.h"

#include <string>

#include "app/DatabasePath.h"
#include "app/FilePaths.h"
#include "app/FileSystem.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/NumberText.h"
#include "toolkit/Shell.h"
#include "toolkit/TextEncoding.h"

namespace {

constexpr wchar_t kBackupFileName[] = L"TorvaneBackup.dat";
// More safety copies than anyone keeps; past this the restore refuses rather than loop.
constexpr int kMaxSafetyCopies = 1'000'000;

// The first free name among DatabasePath.000, .001, ...; "" when all are taken.
std::wstring SafetyCopyPath() {
  for (int n = 0; n < kMaxSafetyCopies; ++n) {
    std::wstring candidate = DatabasePath + L"." + LumoUtility::WidenText(LumoUtility::ZeroPaddedInt(n, 3));
    if (!PathExists(candidate)) return candidate;
  }
  return L"";
}

}  // namespace

void BackupDatabase(HWND owner) {
  std::wstring folder = LumoUtility::BrowseForFolder("Seleziona dove salvare il backup", owner);
  if (folder.empty()) return;
  std::wstring target = WithTrailingBackslash(folder) + kBackupFileName;
  BOOL failIfExists = TRUE;
  if (PathExists(target)) {
    if (!LumoUtility::AskYesNo("Nella cartella esiste già un backup. Si desidera sovrascrivere il "
                               "backup esistente?",
                               "Attenzione", owner)) {
      return;
    }
    failIfExists = FALSE;
  }
  if (CopyFileW(DatabasePath.c_str(), target.c_str(), failIfExists)) {
    LumoUtility::ShowMessage("Salvataggio del backup effettuato correttamente.", "Backup", owner);
  } else {
    LumoUtility::ShowError("Errore durante il backup", "Errore", owner);
  }
}

void RestoreDatabase(HWND owner) {
  std::wstring folder = LumoUtility::BrowseForFolder("Seleziona dove si trova il backup", owner);
  if (folder.empty()) return;
  std::wstring source = WithTrailingBackslash(folder) + kBackupFileName;
  if (!PathExists(source)) {
    LumoUtility::ShowInfo("File di backup non trovato. Impossibile procedere con il restore.",
                          "Restore", owner);
    return;
  }
  if (!LumoUtility::AskYesNo("Continuando come richiesto il database verrà ripristinato. Si "
                             "desidera realmente procedere?",
                             "Attenzione", owner)) {
    return;
  }
  std::wstring safety = SafetyCopyPath();
  if (safety.empty() || !CopyFileW(DatabasePath.c_str(), safety.c_str(), FALSE)) {
    LumoUtility::ShowError("Errore durante il ripristino", "Errore", owner);
    return;
  }
  if (CopyFileW(source.c_str(), DatabasePath.c_str(), FALSE)) {
    LumoUtility::ShowMessage("Ripristino del backup effettuato correttamente.", "Restore", owner);
  } else {
    LumoUtility::ShowError("Errore durante il ripristino", "Errore", owner);
  }
}
