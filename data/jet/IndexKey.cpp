#include "data/jet/IndexKey.h"

#include "data/jet/JetError.h"
#include "data/jet/TextSortKey.h"

namespace Jet {
namespace {

namespace F = Format;

constexpr std::uint8_t kAscendingFlag = 0x7F;
constexpr std::uint8_t kDescendingFlag = 0x80;
constexpr std::uint8_t kAscendingNull = 0x00;
constexpr std::uint8_t kDescendingNull = 0xFF;

const ColumnDefinition& ColumnOf(const TableDefinition& table, std::uint16_t number,
                                 std::size_t& position) {
  for (std::size_t i = 0; i < table.columns.size(); ++i) {
    if (table.columns[i].number == number) {
      position = i;
      return table.columns[i];
    }
  }
  ThrowCorrupt("index refers to a column that does not exist");
}

void AppendInteger(std::vector<std::uint8_t>& key, std::uint64_t value, int bytes, bool isSigned,
                   bool descending) {
  std::size_t first = key.size();
  for (int i = bytes - 1; i >= 0; --i) key.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  if (isSigned) key[first] ^= 0x80;
  if (descending) {
    for (std::size_t i = first; i < key.size(); ++i) key[i] = static_cast<std::uint8_t>(~key[i]);
  }
}

void AppendText(std::vector<std::uint8_t>& key, const std::u16string& text, bool descending) {
  std::size_t first = key.size();
  AppendTextSortKey(key, text);
  if (descending) {
    for (std::size_t i = first; i < key.size(); ++i) key[i] = static_cast<std::uint8_t>(~key[i]);
    key.push_back(0x00);
  }
}

}  // namespace

bool CanEncodeIndex(const TableDefinition& table, const RealIndexDefinition& index,
                    std::string& why) {
  for (const IndexColumn& indexColumn : index.columns) {
    std::size_t position = 0;
    const ColumnDefinition& column = ColumnOf(table, indexColumn.columnNumber, position);
    if (!column.IsSupportedType()) {
      why = std::string("an index on a column of type ") + TypeName(column.typeCode) +
            " stored in a form the engine does not decode";
      return false;
    }
    switch (column.typeCode) {
      case F::kTypeByte:
      case F::kTypeInteger:
      case F::kTypeLong: break;
      case F::kTypeText: break;
      default:
        why = std::string("an index on a column of type ") + TypeName(column.typeCode);
        return false;
    }
  }
  return true;
}

bool KeyIsAllNull(const TableDefinition& table, const RealIndexDefinition& index,
                  const std::vector<Value>& values) {
  for (const IndexColumn& indexColumn : index.columns) {
    std::size_t position = 0;
    ColumnOf(table, indexColumn.columnNumber, position);
    if (!values[position].IsNull()) return false;
  }
  return true;
}

std::vector<std::uint8_t> EncodeIndexKey(const TableDefinition& table,
                                         const RealIndexDefinition& index,
                                         const std::vector<Value>& values) {
  std::vector<std::uint8_t> key;
  for (const IndexColumn& indexColumn : index.columns) {
    std::size_t position = 0;
    const ColumnDefinition& column = ColumnOf(table, indexColumn.columnNumber, position);
    const Value& value = values.at(position);
    bool descending = !indexColumn.ascending;
    if (value.IsNull()) {
      key.push_back(descending ? kDescendingNull : kAscendingNull);
      continue;
    }
    key.push_back(descending ? kDescendingFlag : kAscendingFlag);
    if (value.Is<std::int32_t>()) {
      AppendInteger(key, static_cast<std::uint32_t>(value.As<std::int32_t>()), 4, true, descending);
    } else if (value.Is<std::int16_t>()) {
      AppendInteger(key, static_cast<std::uint16_t>(value.As<std::int16_t>()), 2, true, descending);
    } else if (value.Is<std::uint8_t>()) {
      AppendInteger(key, value.As<std::uint8_t>(), 1, false, descending);
    } else if (value.Is<std::u16string>() && column.typeCode == F::kTypeText) {
      AppendText(key, value.As<std::u16string>(), descending);
    } else {
      throw JetError(JetErrorKind::kUnsupportedWrite,
                     std::string("cannot build index keys of type ") + TypeName(column.typeCode));
    }
  }
  return key;
}

}  // namespace Jet
