#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "data/jet/PageStore.h"

// Creating databases and user tables.
namespace Jet {

// Values of a new file that no documentation explains. The defaults are one consistent
// set taken from a database Jet 4 itself created (jet_adox_empty.mdb): the header's
// creation time and catalogue times (Jet stamped them a few milliseconds apart), the
// per-file header word at 0x6A, and the Admin user's 2-byte SID, from which the other
// SIDs follow by fixed XOR relations.
struct NewDatabaseFacts {
  double headerCreationDate = 0;   // OLE date
  double objectsCreationDate = 0;  // DateCreate/DateUpdate of the catalogue rows
  std::uint16_t headerWord6A = 0x261C;
  std::array<std::uint8_t, 2> adminSid{{0x64, 0x8B}};

  static NewDatabaseFacts FromJetSample();
};

// The 16 pages of an empty Jet 4 database (header, global map, the four system tables
// with their rows, maps and index pages), as a store whose Commit writes the file.
PageStore BuildEmptyDatabase(const std::filesystem::path& path, const NewDatabaseFacts& facts);

// Writes a new, empty database file (replacing an existing one).
void CreateEmptyDatabase(const std::filesystem::path& path,
                         const NewDatabaseFacts& facts = NewDatabaseFacts::FromJetSample());

enum class NewColumnType {
  kLong,
  kAutoNumber,
  kText,
  kMemo,
  kDouble,
  kDateTime,
  kBoolean,
  kInteger,
  kByte,
  kCurrency
};

struct NewColumn {
  std::u16string name;
  NewColumnType type = NewColumnType::kLong;
  std::uint16_t maxCharacters = 255;  // Text only, 1..255
};

struct NewTable {
  std::u16string name;
  std::vector<NewColumn> columns;
  std::u16string primaryKey;  // a column name, or empty for none
};

}  // namespace Jet
