#include "data/DatabaseFile.h"

#include <exception>
#include <filesystem>
#include <memory>
#include <vector>

#include "data/CommittedWrites.h"
#include "data/WholeFiles.h"
#include "data/jet/Database.h"
#include "data/jet/IndexReader.h"
#include "data/jet/JetError.h"
#include "data/jet/Journal.h"
#include "toolkit/base/NumberText.h"
#include "toolkit/base/TextEncoding.h"

namespace {

const char16_t* const kProgramTables[] = {u"VEICOLO", u"INTERVENTI", u"INTERVENTI_VEICOLO"};
// Files made before it lack this one; where it is, a cut in it is a cut file all the same.
const char16_t kOptionalTable[] = u"INTERVENTI_MESI";

// Reads every row and index page of the table: throws where the file is cut or damaged.
void ReadWholeTable(const Jet::Database& database, const std::u16string& name) {
  Jet::TableDefinition table = database.ReadTable(name);
  Jet::TableScan scan = database.Scan(table);
  std::vector<Jet::Value> values;
  while (scan.Next(values)) {
  }
  for (const Jet::RealIndexDefinition& index : table.realIndexes) {
    Jet::ReadIndexTree(database.Pages(), table.definitionPage, index);
  }
}

}  // namespace

bool IsProgramDatabaseImage(const std::vector<std::uint8_t>& bytes) {
  try {
    Jet::Database database(std::make_unique<Jet::MemoryPageSource>(bytes.data(), bytes.size()));
    // Opening reads only the header and the catalogue; a file cut short or damaged
    // further on shows when every row and index page of the tables is read.
    for (const char16_t* name : kProgramTables) ReadWholeTable(database, name);
    for (const Jet::CatalogTable& table : database.UserTables()) {
      if (Jet::NamesEqual(table.name, kOptionalTable)) ReadWholeTable(database, table.name);
    }
    return true;
  } catch (const Jet::JetError&) {
    return false;
  } catch (const std::exception&) {
    // Out of memory for a huge file.
    return false;
  }
}

namespace {

// More safety copies than anyone keeps; past this the restore refuses rather than loop.
constexpr int kMaxSafetyCopies = 1'000'000;

// A path that cannot be examined counts as free: writing the copy there then fails.
bool Exists(const std::filesystem::path& path) {
  std::error_code unknown;
  return std::filesystem::exists(path, unknown);
}

// The first free name among database.000, .001, ...; "" when all are taken.
std::wstring SafetyCopyPath(const std::wstring& database) {
  for (int n = 0; n < kMaxSafetyCopies; ++n) {
    std::wstring candidate =
        database + L"." + LumoUtility::WidenText(LumoUtility::ZeroPaddedInt(n, 3));
    if (!Exists(candidate)) return candidate;
  }
  return L"";
}

}  // namespace

std::vector<std::uint8_t> ReadFileBytes(const std::wstring& path) {
  Jet::RawFile file{std::filesystem::path(path), Jet::RawFile::Mode::kRead};
  return Jet::ReadAllBytes(file);
}

bool CopyCommittedDatabase(const std::wstring& database, const std::wstring& target, bool replace) {
  try {
    std::filesystem::path file(database);
    std::vector<std::uint8_t> bytes;
    {
      Jet::WriterLock lock(file, Jet::LockAccess::kWriteOrRead);
      bytes = Jet::ReadCommitted(file, lock);
    }
    return WriteWholeFile(target, bytes, replace);
  } catch (const std::exception&) {
    // The engine's refusal (busy, unreadable), out of memory, a path it cannot convert.
    return false;
  }
}

ReplaceOutcome ReplaceKeepingSafetyCopy(const std::wstring& database,
                                        const std::vector<std::uint8_t>& content,
                                        std::wstring& safety) {
  std::filesystem::path file(database);
  try {
    Jet::WriterLock lock(file);
    std::vector<std::uint8_t> current = Jet::ReadCommitted(file, lock);
    std::wstring name = SafetyCopyPath(database);
    if (name.empty() || !WriteWholeFile(name, current, false)) return ReplaceOutcome::kFailed;
    safety = name;
    Jet::ReplaceContent(file, lock.File(), content);
    CountCommittedWrite();
    return ReplaceOutcome::kDone;
  } catch (const std::exception&) {
    if (safety.empty()) return ReplaceOutcome::kFailed;
    // A journal left behind means the old content could not be put back yet.
    return Exists(Jet::JournalPath(file)) ? ReplaceOutcome::kFailedAfterSafetyCopy
                                          : ReplaceOutcome::kFailed;
  }
}
