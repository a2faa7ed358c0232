#include "data/jet/IndexKey.h"

#include "data/jet/JetError.h"

namespace Jet {
namespace {

namespace F = Format;

constexpr std::uint8_t kAscendingFlag = 0x7F;
constexpr std::uint8_t kDescendingFlag = 0x80;
constexpr std::uint8_t kAscendingNull = 0x00;
constexpr std::uint8_t kDescendingNull = 0xFF;
constexpr std::uint8_t kEndOfText = 0x01;
constexpr std::size_t kMaxKeyCharacters = 255;

// General (legacy) sort codes of U+0020..U+007E: one or two main-part bytes, or an
// "unprintable" code (apostrophe, hyphen) that goes to the key's trailing list.
struct CharCode {
  std::uint8_t first;
  std::uint8_t second;  // 0 = one byte
  bool unprintable;
};
constexpr CharCode kPrintable[95] = {
    {0x07, 0, false}, {0x09, 0, false}, {0x0A, 0, false}, {0x0C, 0, false},  // space ! " #
    {0x0E, 0, false}, {0x10, 0, false}, {0x12, 0, false}, {0x80, 0, true},   // $ % & '
    {0x14, 0, false}, {0x16, 0, false}, {0x18, 0, false}, {0x2C, 0, false},  // ( ) * +
    {0x1A, 0, false}, {0x82, 0, true},  {0x1C, 0, false}, {0x1E, 0, false},  // , - . /
    {0x36, 0, false}, {0x38, 0, false}, {0x3A, 0, false}, {0x3C, 0, false},  // 0 1 2 3
    {0x3E, 0, false}, {0x40, 0, false}, {0x42, 0, false}, {0x44, 0, false},  // 4 5 6 7
    {0x46, 0, false}, {0x48, 0, false}, {0x20, 0, false}, {0x22, 0, false},  // 8 9 : ;
    {0x2E, 0, false}, {0x30, 0, false}, {0x32, 0, false}, {0x24, 0, false},  // < = > ?
    {0x26, 0, false},                                                        // @
    {0x4A, 0, false}, {0x4C, 0, false}, {0x4D, 0, false}, {0x4F, 0, false},  // A B C D
    {0x51, 0, false}, {0x53, 0, false}, {0x55, 0, false}, {0x57, 0, false},  // E F G H
    {0x59, 0, false}, {0x5B, 0, false}, {0x5C, 0, false}, {0x5E, 0, false},  // I J K L
    {0x60, 0, false}, {0x62, 0, false}, {0x64, 0, false}, {0x66, 0, false},  // M N O P
    {0x68, 0, false}, {0x69, 0, false}, {0x6B, 0, false}, {0x6D, 0, false},  // Q R S T
    {0x6F, 0, false}, {0x71, 0, false}, {0x73, 0, false}, {0x75, 0, false},  // U V W X
    {0x76, 0, false}, {0x78, 0, false},                                      // Y Z
    {0x27, 0, false}, {0x29, 0, false}, {0x2A, 0, false}, {0x2B, 0x02, false},  // [ \ ] ^
    {0x2B, 0x03, false}, {0x2B, 0x07, false},                                    // _ `
    {0x4A, 0, false}, {0x4C, 0, false}, {0x4D, 0, false}, {0x4F, 0, false},  // a b c d
    {0x51, 0, false}, {0x53, 0, false}, {0x55, 0, false}, {0x57, 0, false},  // e f g h
    {0x59, 0, false}, {0x5B, 0, false}, {0x5C, 0, false}, {0x5E, 0, false},  // i j k l
    {0x60, 0, false}, {0x62, 0, false}, {0x64, 0, false}, {0x66, 0, false},  // m n o p
    {0x68, 0, false}, {0x69, 0, false}, {0x6B, 0, false}, {0x6D, 0, false},  // q r s t
    {0x6F, 0, false}, {0x71, 0, false}, {0x73, 0, false}, {0x75, 0, false},  // u v w x
    {0x76, 0, false}, {0x78, 0, false},                                      // y z
    {0x2B, 0x09, false}, {0x2B, 0x0B, false}, {0x2B, 0x0D, false}, {0x2B, 0x0F, false},  // { | } ~
};

// Control characters: TAB..CR are simple two-byte codes, the others unprintable.
bool ControlCode(char16_t c, CharCode& code) {
  if (c >= 0x09 && c <= 0x0D) { code = {0x08, static_cast<std::uint8_t>(0x03 + (c - 0x09)), false}; return true; }
  if (c >= 0x01 && c <= 0x08) { code = {static_cast<std::uint8_t>(0x03 + (c - 0x01)), 0, true}; return true; }
  if (c >= 0x0E && c <= 0x1F) { code = {static_cast<std::uint8_t>(0x0B + (c - 0x0E)), 0, true}; return true; }
  if (c == 0x7F) { code = {0x1D, 0, true}; return true; }
  return false;
}

const ColumnDefinition& ColumnOf(const TableDefinition& table, std::uint16_t number, std::size_t& position) {
  for (std::size_t i = 0; i < table.columns.size(); ++i) {
    if (table.columns[i].number == number) { position = i; return table.columns[i]; }
  }
  ThrowCorrupt("index refers to a column that does not exist");
}

void AppendInteger(std::vector<std::uint8_t>& key, std::uint64_t value, int bytes, bool isSigned, bool descending) {
  std::size_t first = key.size();
  for (int i = bytes - 1; i >= 0; --i) key.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  if (isSigned) key[first] ^= 0x80;
  if (descending) {
    for (std::size_t i = first; i < key.size(); ++i) key[i] = static_cast<std::uint8_t>(~key[i]);
  }
}

void AppendText(std::vector<std::uint8_t>& key, std::u16string text, bool descending) {
  while (!text.empty() && text.back() == u' ') text.pop_back();
  if (text.size() > kMaxKeyCharacters) text.resize(kMaxKeyCharacters);
  std::size_t first = key.size();
  std::vector<std::pair<std::size_t, std::uint8_t>> unprintable;  // (position, code)
  std::size_t position = 0;
  for (char16_t c : text) {
    CharCode code{};
    if (c >= 0x20 && c <= 0x7E) {
      code = kPrintable[c - 0x20];
    } else if (c == 0) {
      continue;  // ignored
    } else if (!ControlCode(c, code)) {
      throw JetError(JetErrorKind::kUnsupportedWrite,
                     "an indexed text holds a character (U+" + std::to_string(c) +
                         ") whose sort order the engine cannot write; only ASCII is indexed");
    }
    if (code.unprintable) {
      unprintable.emplace_back(position, code.first);
      continue;
    }
    key.push_back(code.first);
    if (code.second != 0) key.push_back(code.second);
    ++position;
  }
  key.push_back(kEndOfText);
  if (!unprintable.empty()) {
    key.push_back(0x01);
    key.push_back(0x01);
    key.push_back(0x01);
    for (const auto& entry : unprintable) {
      std::uint16_t where = static_cast<std::uint16_t>(0x8000 | (7 + 4 * entry.first));
      key.push_back(static_cast<std::uint8_t>(where >> 8));
      key.push_back(static_cast<std::uint8_t>(where));
      key.push_back(0x06);
      key.push_back(entry.second);
    }
  }
  key.push_back(0x00);
  if (descending) {
    for (std::size_t i = first; i < key.size(); ++i) key[i] = static_cast<std::uint8_t>(~key[i]);
    key.push_back(0x00);
  }
}

}  // namespace

bool CanEncodeIndex(const TableDefinition& table, const RealIndexDefinition& index, std::string& why) {
  for (const IndexColumn& indexColumn : index.columns) {
    std::size_t position = 0;
    const ColumnDefinition& column = ColumnOf(table, indexColumn.columnNumber, position);
    if (!column.IsSupportedType()) {
      why = std::string("an index on a column of type ") + TypeName(column.typeCode) + " stored in a form the engine does not decode";
      return false;
    }
    switch (column.typeCode) {
      case F::kTypeByte:
      case F::kTypeInteger:
      case F::kTypeLong:
        break;
      case F::kTypeText:
        break;
      default:
        why = std::string("an index on a column of type ") + TypeName(column.typeCode);
        return false;
    }
  }
  return true;
}

bool KeyIsAllNull(const TableDefinition& table, const RealIndexDefinition& index, const std::vector<Value>& values) {
  for (const IndexColumn& indexColumn : index.columns) {
    std::size_t position = 0;
    ColumnOf(table, indexColumn.columnNumber, position);
    if (!values[position].IsNull()) return false;
  }
  return true;
}

std::vector<std::uint8_t> EncodeIndexKey(const TableDefinition& table, const RealIndexDefinition& index,
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
      throw JetError(JetErrorKind::kUnsupportedWrite, std::string("cannot build index keys of type ") + TypeName(column.typeCode));
    }
  }
  return key;
}

}  // namespace Jet
