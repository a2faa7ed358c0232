// jetdump FILE          prints the user tables of an Access 2000-2003 database, one a line
// jetdump FILE TABLE    prints that table as CSV with a header line
// An unreadable file or an unknown table prints the reason on standard error and exits 1.
#include <cstdio>
#include <iostream>
#include <string>

#include "data/jet/Database.h"
#include "tools/TableCsv.h"
#include "tools/ValueText.h"

namespace {

std::u16string Utf8ToUtf16(const std::string& text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size();) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra && i + k < text.size(); ++k) c = (c << 6) | (text[i + k] & 0x3F);
    i += static_cast<std::size_t>(extra) + 1;
    if (c >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

// Standard output in large blocks: a line at a time through iostreams cost more than
// reading the table.
class StdoutSink : public LumoUtility::CsvSink {
 public:
  void Write(const char* bytes, std::size_t size) override { std::fwrite(bytes, 1, size, stdout); }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::cerr << "usage: jetdump FILE [TABLE]\n";
    return 2;
  }
  StdoutSink sink;
  LumoUtility::CsvWriter csv(sink, ',', "\n");
  try {
    Jet::Database database = Jet::Database::OpenFile(argv[1]);
    if (argc == 2) {
      for (const Jet::CatalogTable& table : database.UserTables())
        std::cout << Utf16ToUtf8(table.name) << '\n';
    } else {
      Jet::TableDefinition table = database.ReadTable(Utf8ToUtf16(argv[2]));
      WriteTableCsv(database.Pages(), table, csv);
      csv.Flush();
    }
  } catch (const Jet::JetError& error) {
    csv.Flush();  // the rows read before the damage
    std::cout.flush();
    std::fflush(stdout);
    std::cerr << "jetdump: " << argv[1] << ": " << error.what() << '\n';
    return 1;
  }
  return 0;
}
