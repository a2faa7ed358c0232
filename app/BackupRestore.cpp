#include "app/BackupRestore.h"

#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "app/DatabaseFileCheck.h"
#include "app/DatabasePath.h"
#include "app/FilePaths.h"
#include "app/FileSystem.h"
#include "app/WholeFiles.h"
#include "data/jet/Journal.h"
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

// Copies the database at a committed point. Another running copy may be writing it, so
// the bytes are read under the lock (shared when the file can only be read), after
// rolling back a commit that was cut short, through the lock's own handle.
bool BackUpSafely(const std::wstring& target, bool replace) {
  try {
    std::filesystem::path database(DatabasePath);
    std::vector<std::uint8_t> bytes;
    {
      Jet::WriterLock lock(database, Jet::LockAccess::kWriteOrRead);
      bytes = Jet::ReadCommitted(database, lock);
    }
    return WriteWholeFile(target, bytes, replace);
  } catch (const std::exception&) {
    // The engine's refusal (busy, unreadable), out of memory, a path it cannot convert.
    return false;
  }
}

enum class RestoreOutcome { kDone, kFailed, kFailedAfterSafetyCopy };

// Saves the database as the next safety copy, then writes `content` over it as one commit
// through the journal, all under the lock: no other running copy writes in between, the
// safety copy is complete before the database changes, and a stop at any moment leaves
// the old database or the new one. `safety` names the copy once it exists.
RestoreOutcome ReplaceDatabase(const std::vector<std::uint8_t>& content, std::wstring& safety) {
  std::filesystem::path database(DatabasePath);
  try {
    Jet::WriterLock lock(database);
    std::vector<std::uint8_t> current = Jet::ReadCommitted(database, lock);
    std::wstring name = SafetyCopyPath();
    if (name.empty() || !WriteWholeFile(name, current, false)) return RestoreOutcome::kFailed;
    safety = name;
    Jet::ReplaceContent(database, lock.File(), content);
    return RestoreOutcome::kDone;
  } catch (const std::exception&) {
    if (safety.empty()) return RestoreOutcome::kFailed;
    // A journal left behind means the old content could not be put back yet (the next
    // open does it): the user is told where the safety copy is, to recover by hand.
    std::error_code unknown;
    return std::filesystem::exists(Jet::JournalPath(database), unknown) ? RestoreOutcome::kFailedAfterSafetyCopy
                                                                        : RestoreOutcome::kFailed;
  }
}

}  // namespace

void BackupDatabase(HWND owner) {
  try {
    std::wstring folder = LumoUtility::BrowseForFolder("Seleziona dove salvare il backup", owner);
    if (folder.empty()) return;
    std::wstring target = WithTrailingBackslash(folder) + kBackupFileName;
    bool replace = false;
    if (PathExists(target)) {
      if (!LumoUtility::AskYesNo("Nella cartella esiste già un backup. Si desidera sovrascrivere il "
                                 "backup esistente?",
                                 "Attenzione", owner)) {
        return;
      }
      replace = true;
    }
    if (BackUpSafely(target, replace)) {
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
    std::vector<std::uint8_t> content;
    {
      Jet::RawFile backup{std::filesystem::path(source), Jet::RawFile::Mode::kRead};
      content = Jet::ReadAllBytes(backup);
    }
    if (!IsProgramDatabaseImage(content)) {
      LumoUtility::ShowError("Errore durante il ripristino", "Errore", owner);
      return;
    }
    if (!LumoUtility::AskYesNo("Continuando come richiesto il database verrà ripristinato. Si "
                               "desidera realmente procedere?",
                               "Attenzione", owner)) {
      return;
    }
    switch (ReplaceDatabase(content, safety)) {
      case RestoreOutcome::kDone:
        LumoUtility::ShowMessage("Ripristino del backup effettuato correttamente.", "Restore", owner);
        return;
      case RestoreOutcome::kFailedAfterSafetyCopy:
        LumoUtility::ShowError("Errore durante il ripristino\n\nUna copia del database precedente è nel file:\n" +
                                   LumoUtility::NarrowText(safety),
                               "Errore", owner);
        return;
      case RestoreOutcome::kFailed:
        break;
    }
  } catch (const std::exception&) {
    // Out of memory in a dialog or a text: reported like any other failed restore.
  }
  LumoUtility::ShowError("Errore durante il ripristino", "Errore", owner);
}
