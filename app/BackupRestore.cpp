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
constexpr char kRestoreFailed[] = "Errore durante il ripristino";

// What every restore does once it has its file: a file the program could not work on
// would only fail at the next database access, with the user's data set aside, so it is
// refused before anything is touched; what is checked is what is restored, read once.
// Then the question, the safety copy and the replacement. False when it failed without
// telling the user yet; throws when the file cannot be read.
bool RestoreFile(const std::wstring& source, HWND owner) {
  std::vector<std::uint8_t> content = ReadFileBytes(source);
  if (!IsProgramDatabaseImage(content)) return false;
  if (!LumoUtility::AskYesNo("Continuando come richiesto il database verrà ripristinato. Si "
                             "desidera realmente procedere?",
                             "Attenzione", owner)) {
    return true;
  }
  std::wstring safety;
  switch (ReplaceKeepingSafetyCopy(DatabasePath, content, safety)) {
    case ReplaceOutcome::kDone:
      LumoUtility::ShowMessage("Ripristino del backup effettuato correttamente.", "Restore", owner);
      return true;
    case ReplaceOutcome::kFailedAfterSafetyCopy:
      LumoUtility::ShowError(std::string(kRestoreFailed) +
                                 "\n\nUna copia del database precedente è nel file:\n" +
                                 LumoUtility::NarrowText(safety),
                             "Errore", owner);
      return true;
    case ReplaceOutcome::kFailed: break;
  }
  return false;
}

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
  try {
    std::wstring folder = LumoUtility::BrowseForFolder("Seleziona dove si trova il backup", owner);
    if (folder.empty()) return;
    std::wstring source = WithTrailingBackslash(folder) + kBackupFileName;
    if (!PathExists(source)) {
      LumoUtility::ShowInfo("File di backup non trovato. Impossibile procedere con il restore.",
                            "Restore", owner);
      return;
    }
    if (RestoreFile(source, owner)) return;
  } catch (const std::exception&) {
    // Out of memory in a dialog or a text: reported like any other failed restore.
  }
  LumoUtility::ShowError(kRestoreFailed, "Errore", owner);
}

void RestoreAutomaticCopy(HWND owner, const std::wstring& copy) {
  try {
    if (RestoreFile(copy, owner)) return;
  } catch (const std::exception&) {
    // Out of memory, or the copy is gone or unreadable: a failed restore.
  }
  LumoUtility::ShowError(kRestoreFailed, "Errore", owner);
}
