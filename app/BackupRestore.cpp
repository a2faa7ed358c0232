#include "app/BackupRestore.h"

#include <string>

#include "app/DatabaseFileCheck.h"
#include "app/DatabasePath.h"
#include "app/FilePaths.h"
#include "app/FileSystem.h"
#include "data/jet/JetError.h"
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

// Copies the database at a committed point: another running copy may be writing it, so
// the copy holds the writer lock (which covers no data, so the copy can still read) and
// first rolls back a commit that was cut short. False when the lock cannot be had.
bool BackUpSafely(const std::wstring& target, BOOL failIfExists) {
  try {
    Jet::WriterLock lock{std::filesystem::path(DatabasePath)};
    Jet::RecoverJournal(std::filesystem::path(DatabasePath), lock.File());
    return CopyFileW(DatabasePath.c_str(), target.c_str(), failIfExists) != FALSE;
  } catch (const Jet::JetError&) {
    return false;
  }
}

// Saves the database as the next safety copy, then copies source over it. Both copies
// run under the writer lock, so no other running copy writes in between and the safety
// copy is a committed state. Whatever goes wrong after the safety copy exists, the
// database is given its old content back; the safety copy stays either way.
bool ReplaceDatabase(const std::wstring& source) {
  try {
    Jet::WriterLock lock{std::filesystem::path(DatabasePath)};
    Jet::RecoverJournal(std::filesystem::path(DatabasePath), lock.File());
    std::wstring safety = SafetyCopyPath();
    if (safety.empty() || !CopyFileW(DatabasePath.c_str(), safety.c_str(), FALSE)) return false;
    // CopyFileW carries the source's attributes over: a backup kept read-only (on a CD,
    // or marked so by the user) must not leave a database the program cannot write.
    // The source was checked before asking, but it may have changed since (a stick
    // pulled out and put back), so the file now in place is checked again.
    if (CopyFileW(source.c_str(), DatabasePath.c_str(), FALSE) && ClearReadOnly(DatabasePath) &&
        IsProgramDatabase(DatabasePath)) {
      return true;
    }
    if (CopyFileW(safety.c_str(), DatabasePath.c_str(), FALSE)) ClearReadOnly(DatabasePath);
    return false;
  } catch (const Jet::JetError&) {
    return false;
  }
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
  if (BackUpSafely(target, failIfExists)) {
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
  // A file the program could not work on would only fail at the next database access,
  // with the user's data set aside: it is refused before anything is touched.
  if (!IsProgramDatabase(source)) {
    LumoUtility::ShowError("Errore durante il ripristino", "Errore", owner);
    return;
  }
  if (!LumoUtility::AskYesNo("Continuando come richiesto il database verrà ripristinato. Si "
                             "desidera realmente procedere?",
                             "Attenzione", owner)) {
    return;
  }
  if (!ReplaceDatabase(source)) {
    LumoUtility::ShowError("Errore durante il ripristino", "Errore", owner);
    return;
  }
  LumoUtility::ShowMessage("Ripristino del backup effettuato correttamente.", "Restore", owner);
}
