#include "tests/data/SampleFiles.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "tests/support/TestFiles.h"
#include "tools/ValueText.h"

std::filesystem::path SamplesDirectory() { return SampleDatabaseFolder(); }

std::vector<std::string> SampleNames() {
  return {"autonumber_pk_v2000.mdb",
          "dates_memo.mdb",
          "desc_index_2level_v2000.mdb",
          "empty_access2000.mdb",
          "index_fk_v2000.mdb",
          "jet_adox_empty.mdb",
          "memo_bool_double_v2000.mdb",
          "overflow_rows_v2000.mdb",
          "refmap_v2003.mdb",
          "types_v2000.mdb"};
}

std::vector<std::uint8_t> ReadSampleBytes(const std::string& name) {
  std::ifstream in(SamplesDirectory() / name, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>());
}

Jet::Database OpenImage(const std::vector<std::uint8_t>& bytes) {
  return Jet::Database(std::make_unique<Jet::MemoryPageSource>(bytes.data(), bytes.size()));
}

std::string DumpDatabase(const Jet::Database& database) {
  std::string dump;
  for (const Jet::CatalogTable& table : database.AllTables()) {
    Jet::TableDefinition definition = database.ReadTable(table);
    dump += "table " + Utf16ToUtf8(table.name) + "\n";
    for (const Jet::ColumnDefinition& column : definition.columns) {
      dump += " column " + Utf16ToUtf8(column.name) + " " + std::to_string(column.typeCode) + "\n";
    }
    for (const Jet::IndexDefinition& index : definition.indexes) {
      dump += " index " + Utf16ToUtf8(index.name) + "\n";
    }
    Jet::TableScan scan = database.Scan(definition);
    std::vector<Jet::Value> values;
    while (scan.Next(values)) {
      dump += " row";
      for (const Jet::Value& value : values) dump += "|" + FormatValue(value);
      dump += "\n";
    }
  }
  return dump;
}

std::u16string U16(const char* ascii) {
  std::u16string text;
  for (; *ascii != '\0'; ++ascii) text.push_back(static_cast<unsigned char>(*ascii));
  return text;
}

std::string Narrow(const std::u16string& text) { return Utf16ToUtf8(text); }
