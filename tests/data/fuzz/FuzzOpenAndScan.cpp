// libFuzzer target: open a database image and read everything the engine can read from
// it. Any outcome other than success or a Jet::JetError (a crash, a sanitizer report, a
// leak, another exception, a hang) is a fault.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "data/jet/Database.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    Jet::Database database(std::make_unique<Jet::MemoryPageSource>(data, size));
    for (const Jet::CatalogTable& table : database.AllTables()) {
      try {
        Jet::TableDefinition definition = database.ReadTable(table);
        Jet::TableScan scan = database.Scan(definition);
        std::vector<Jet::Value> values;
        while (scan.Next(values)) {
        }
      } catch (const Jet::JetError&) {
        // A damaged table does not stop the others from being read.
      }
    }
  } catch (const Jet::JetError&) {
  }
  return 0;
}
