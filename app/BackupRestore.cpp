#include "app/BackupRestore.h"

#include <exception>
#include <string>
#include <vector>

#include "app/FilePaths.h"
#include "app/FileSystem.h"
#include "data/DatabaseFile.h"
#include "data/DatabasePath.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/Shell.h"
#include "toolkit/base/TextEncoding.h"

namespace {

constexpr wchar_t kBackupFileName[] = L"TorvaneBackup.dat";

}  // namespace

void BackupDatabase(HWND owner) {
  try {
    std::wstring folder = LumoUtility::BrowseForFolder("Seleziona dove salvare il backup", owner);
    if (folder.empty()) return;
    std::wstring target = WithTrailingBackslash(folder) + kBackupFileName;
    bool replace = false;
    if (PathExists(target)) {
      if (!LumoUtility::AskYesNo(
              "Nella cartella esiste già un backup. Si desidera sovrascrivere il "
              "backup esistente?",
              "Attenzione", owner)) {
        return;
      }
      replace = true;
    }
    if (CopyCommittedDatabase(DatabasePath, target, replace)) {
      LumoUtility::ShowMessage("Salvataggio del backup effettuato correttamente.", "Backup", owner);
      return;
    }
  } catch (const std::exception&) {
    // Out of memory in a dialog or a text: reported like any other failed backup.
  }
  LumoUtility::ShowError("Errore durante il backup", "Errore", owner);
}

void RestoreDatabase(HWND owner) {
  std::wstring safety;
  try {
    std::wstring folder = LumoUtility::BrowseForFolder("Seleziona dove si trova il backup", owner);
    if (folder.empty()) return;
    std::wstring source = WithTrailingBackslash(folder) + kBackupFileName;
    if (!PathExists(source)) {
      LumoUtility::ShowInfo("File di backup non trovato. Impossibile procedere con il restore.",
                            "Restore", owner);
      return;
    }
    // A file the program could not work on would only fail at the next database access,
    // with the user's data set aside: it is refused before anything is touched. What is
    // checked is what is restored, read once.
    std::vector<std::uint8_t> content = ReadFileBytes(source);
    if (!IsProgramDatabaseImage(content)) {
      LumoUtility::ShowError("Errore durante il ripristino", "Errore", owner);
      return;
    }
    if (!LumoUtility::AskYesNo("Continuando come richiesto il database verrà ripristinato. Si "
                               "desidera realmente procedere?",
                               "Attenzione", owner)) {
      return;
    }
    switch (ReplaceKeepingSafetyCopy(DatabasePath, content, safety)) {
      case ReplaceOutcome::kDone:
        LumoUtility::ShowMessage("Ripristino del backup effettuato correttamente.", "Restore",
                                 owner);
        return;
      case ReplaceOutcome::kFailedAfterSafetyCopy:
        LumoUtility::ShowError(
            "Errore durante il ripristino\n\nUna copia del database precedente è nel file:\n" +
                LumoUtility::NarrowText(safety),
            "Errore", owner);
        return;
      case ReplaceOutcome::kFailed: break;
    }
  } catch (const std::exception&) {
    // Out of memory in a dialog or a text: reported like any other failed restore.
  }
  LumoUtility::ShowError("Errore durante il ripristino", "Errore", owner);
}
