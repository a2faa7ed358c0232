#include "app/DatabaseFileCheck.h"

#include <exception>
#include <filesystem>
#include <memory>
#include <vector>

#include "data/jet/Database.h"
#include "data/jet/FileShim.h"
#include "data/jet/IndexReader.h"
#include "data/jet/JetError.h"
#include "data/jet/Journal.h"

namespace {

const char16_t* const kProgramTables[] = {u"VEICOLO", u"INTERVENTI", u"INTERVENTI_VEICOLO"};

}  // namespace

bool IsProgramDatabase(const std::wstring& path) {
  try {
    // A plain read-only handle: the file may sit on a read-only medium, and opening it
    // through the writer's path would recover (write) a journal found beside it.
    std::vector<std::uint8_t> bytes;
    {
      Jet::RawFile file(std::filesystem::path(path), Jet::RawFile::Mode::kRead);
      bytes = Jet::ReadAllBytes(file);
    }
    Jet::Database database(std::make_unique<Jet::MemoryPageSource>(bytes.data(), bytes.size()));
    // Opening reads only the header and the catalogue; a file cut short or damaged
    // further on shows when every row and index page of the tables is read.
    for (const char16_t* name : kProgramTables) {
      Jet::TableDefinition table = database.ReadTable(name);
      Jet::TableScan scan = database.Scan(table);
      std::vector<Jet::Value> values;
      while (scan.Next(values)) {
      }
      for (const Jet::RealIndexDefinition& index : table.realIndexes) {
        Jet::ReadIndexTree(database.Pages(), table.definitionPage, index);
      }
    }
    return true;
  } catch (const Jet::JetError&) {
    return false;
  } catch (const std::exception&) {
    // Out of memory for a huge file, or a path the library cannot convert.
    return false;
  }
}
