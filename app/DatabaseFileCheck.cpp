#include "app/DatabaseFileCheck.h"

#include <exception>
#include <memory>
#include <vector>

#include "data/jet/Database.h"
#include "data/jet/IndexReader.h"
#include "data/jet/JetError.h"

namespace {

const char16_t* const kProgramTables[] = {u"VEICOLO", u"INTERVENTI", u"INTERVENTI_VEICOLO"};

}  // namespace

bool IsProgramDatabaseImage(const std::vector<std::uint8_t>& bytes) {
  try {
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
    // Out of memory for a huge file.
    return false;
  }
}
