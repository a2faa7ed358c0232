#include "data/jet/RowEncoder.h"

#include <cstring>

#include "data/jet/JetError.h"

namespace Jet {
namespace {

namespace F = Format;

std::string Printable(const std::u16string& name) {
  std::string out;
  for (char16_t c : name) out += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
  return out;
}

[[noreturn]] void Refuse(const ColumnDefinition& column, const std::string& why) {
  throw JetError(JetErrorKind::kInvalidValue, "column " + Printable(column.name) + ": " + why);
}

template <typename T>
void Append(std::vector<std::uint8_t>& out, T value) {
  std::uint8_t bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));  // little-endian hosts only (x86, the targets)
  out.insert(out.end(), bytes, bytes + sizeof(T));
}

std::vector<std::uint8_t> FixedBytes(const Value& value) {
  std::vector<std::uint8_t> out;
  switch (value.Kind()) {
    case ValueKind::kByte: Append(out, value.As<std::uint8_t>()); break;
    case ValueKind::kInteger: Append(out, value.As<std::int16_t>()); break;
    case ValueKind::kLong: Append(out, value.As<std::int32_t>()); break;
    case ValueKind::kSingle: Append(out, value.As<float>()); break;
    case ValueKind::kDouble: Append(out, value.As<double>()); break;
    case ValueKind::kCurrency: Append(out, value.As<Currency>().tenThousandths); break;
    case ValueKind::kDateTime: Append(out, value.As<DateTime>().oleDate); break;
    default: break;
  }
  return out;
}

ValueKind KindOfType(std::uint8_t typeCode) {
  switch (typeCode) {
    case F::kTypeBoolean: return ValueKind::kBoolean;
    case F::kTypeByte: return ValueKind::kByte;
    case F::kTypeInteger: return ValueKind::kInteger;
    case F::kTypeLong: return ValueKind::kLong;
    case F::kTypeCurrency: return ValueKind::kCurrency;
    case F::kTypeSingle: return ValueKind::kSingle;
    case F::kTypeDouble: return ValueKind::kDouble;
    case F::kTypeDateTime: return ValueKind::kDateTime;
    case F::kTypeText: return ValueKind::kText;
    case F::kTypeMemo: return ValueKind::kMemo;
    default: return ValueKind::kUnsupported;
  }
}

}  // namespace

std::vector<std::uint8_t> EncodeText(const std::u16string& text, bool allowCompression) {
  std::vector<std::uint8_t> out;
  bool compress = allowCompression && text.size() >= 3;
  for (char16_t c : text) {
    if (c == 0 || c > 0xFF) compress = false;
  }
  if (compress) {
    out.reserve(text.size() + 2);
    out.push_back(F::kCompressedTextMarker[0]);
    out.push_back(F::kCompressedTextMarker[1]);
    for (char16_t c : text) out.push_back(static_cast<std::uint8_t>(c));
    return out;
  }
  out.reserve(text.size() * 2);
  for (char16_t c : text) {
    out.push_back(static_cast<std::uint8_t>(c));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return out;
}

void CheckValue(const ColumnDefinition& column, const Value& value) {
  if (column.typeCode == F::kTypeBoolean) {
    if (!value.Is<bool>()) Refuse(column, "a Yes/No column takes Yes or No");
    return;
  }
  if (value.IsNull() || value.Is<Unsupported>()) return;
  ValueKind expected = KindOfType(column.typeCode);
  if (expected == ValueKind::kUnsupported)
    Refuse(column,
           std::string("values of type ") + TypeName(column.typeCode) + " cannot be written");
  if (value.Kind() != expected)
    Refuse(column,
           std::string("the value does not match the column's type ") + TypeName(column.typeCode));
  if (expected == ValueKind::kText && value.As<std::u16string>().size() > column.MaxCharacters()) {
    Refuse(column, "the text is longer than the column's " +
                       std::to_string(column.MaxCharacters()) + " characters");
  }
  if (expected == ValueKind::kMemo && value.As<MemoText>().text.size() > 0x3FFFFFFF / 2)
    Refuse(column, "the memo is too long");
}

std::vector<std::uint8_t> EncodeRow(const TableDefinition& table, const std::vector<Value>& values,
                                    const std::vector<RawColumnBytes>& raw) {
  if (values.size() != table.columns.size() || raw.size() != table.columns.size()) {
    throw JetError(JetErrorKind::kInvalidValue, "a row needs one value per column");
  }
  std::size_t fixedSize = 0;
  for (const ColumnDefinition& column : table.columns) {
    if (!column.IsFixedLength()) continue;
    std::size_t size = column.typeCode == F::kTypeBoolean ? 1 : FixedSizeOfType(column.typeCode);
    if (size == 0) size = column.length;
    fixedSize = std::max(fixedSize, std::size_t{column.fixedOffset} + size);
  }
  std::vector<std::uint8_t> row(F::Row::kFixedArea + fixedSize, 0);
  row[0] = static_cast<std::uint8_t>(table.rowColumnCount);
  row[1] = static_cast<std::uint8_t>(table.rowColumnCount >> 8);
  std::vector<std::uint8_t> mask((table.rowColumnCount + 7) / 8, 0);
  auto present = [&](const ColumnDefinition& column) {
    mask[column.number / 8] |= static_cast<std::uint8_t>(1u << (column.number % 8));
  };

  std::vector<const std::vector<std::uint8_t>*> variable(table.variableSlots, nullptr);
  std::vector<std::vector<std::uint8_t>> encoded(table.columns.size());
  for (std::size_t i = 0; i < table.columns.size(); ++i) {
    const ColumnDefinition& column = table.columns[i];
    const Value& value = values[i];
    if (column.typeCode == F::kTypeBoolean) {
      if (value.Is<bool>() && value.As<bool>()) present(column);
      continue;
    }
    if (raw[i]) {
      encoded[i] = *raw[i];
    } else if (value.IsNull() || value.Is<Unsupported>()) {
      continue;
    } else if (column.IsFixedLength()) {
      encoded[i] = FixedBytes(value);
    } else if (value.Is<std::u16string>()) {
      encoded[i] = EncodeText(value.As<std::u16string>(), column.AllowsTextCompression());
    } else {
      throw JetError(JetErrorKind::kInvalidValue,
                     "a Memo value was not written to its long-value pages");
    }
    present(column);
    if (column.IsFixedLength()) {
      if (column.fixedOffset + encoded[i].size() > fixedSize)
        ThrowCorrupt("fixed column bytes do not fit the fixed area");
      std::memcpy(row.data() + F::Row::kFixedArea + column.fixedOffset, encoded[i].data(),
                  encoded[i].size());
    } else if (column.variableSlot < variable.size()) {
      variable[column.variableSlot] = &encoded[i];
    }
  }
  if (table.variableSlots > 0) {
    std::vector<std::uint16_t> starts(table.variableSlots);
    for (std::size_t slot = 0; slot < variable.size(); ++slot) {
      starts[slot] = static_cast<std::uint16_t>(row.size());
      if (variable[slot]) row.insert(row.end(), variable[slot]->begin(), variable[slot]->end());
    }
    auto put16 = [&](std::size_t value) {
      row.push_back(static_cast<std::uint8_t>(value));
      row.push_back(static_cast<std::uint8_t>(value >> 8));
    };
    put16(row.size());  // end of variable data
    for (std::size_t slot = starts.size(); slot-- > 0;) put16(starts[slot]);
    put16(starts.size());
  }
  row.insert(row.end(), mask.begin(), mask.end());
  return row;
}

}  // namespace Jet
