#include "app/Startup.h"

#include <string>

#include "app/FileChecksum.h"
#include "app/FilePaths.h"
#include "app/FileSystem.h"
#include "app/TemplateChecksum.h"
#include "data/DatabasePath.h"
#include "screens/MakerSite.h"
#include "toolkit/MessageBoxes.h"

namespace {

constexpr wchar_t kTemplateFileName[] = L"filedat";
constexpr char kApplicationFolderName[] = "TorvaneManutenzione";
constexpr wchar_t kDatabaseFileName[] = L"dati.mdb";
constexpr char kErrorCaption[] = "Errore";

void ReportStartupError(const std::string& text) { LumoUtility::ShowError(text, kErrorCaption); }

// The current folder, then its parent; the executable's own folder is not consulted.
std::wstring LocateTemplate() {
  std::wstring candidate = kTemplateFileName;
  if (!PathExists(candidate)) candidate = L"..\\" + FileNamePart(candidate);
  return candidate;
}

bool CopyTemplate(const std::wstring& templatePath) {
  if (!CopyFileW(templatePath.c_str(), DatabasePath.c_str(), TRUE)) return false;
  // A template shipped read-only must not give a read-only database.
  ClearReadOnly(DatabasePath);
  return true;
}

}  // namespace

bool ProvisionDatabase() {
  std::wstring templatePath = LocateTemplate();
  if (!PathExists(templatePath)) {
    ReportStartupError(
        "File dat non trovato.\nSe esegui il programma da un archivio zip dovrai decomprimere "
        "tutto il contenuto in una cartella ed eseguire il programma dalla cartella");
    return false;
  }
  std::string checksum = ComputeFileChecksum(templatePath);
  if (checksum.size() != 32 || checksum != ExpectedTemplateChecksum) {
    ReportStartupError(std::string("File dat danneggiato. Scaricare nuovamente il programma da ") +
                       kMakerWebSite);
    return false;
  }
  DatabasePath = PrepareUserDataFolder(kApplicationFolderName) + kDatabaseFileName;
  // An existing database is never overwritten, inspected or modified here.
  if (!PathExists(DatabasePath) && !CopyTemplate(templatePath)) {
    ReportStartupError("Inizializzazione del database fallita.");
    return false;
  }
  return true;
}
