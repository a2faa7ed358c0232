#pragma once
#include <cstdint>
#include <string>

#include "data/jet/FormatConstants.h"

namespace Jet {

// One column of a table as its definition describes it.
struct ColumnDefinition {
  std::u16string name;
  std::uint8_t typeCode = 0;  // Format::ColumnTypeCode
  std::uint16_t number = 0;   // bit in the row's null mask; never reused after a delete
  std::uint16_t variableSlot = 0;
  std::uint16_t fixedOffset = 0;
  std::uint16_t length = 0;  // bytes; Text: 2 x the maximum number of characters
  std::uint8_t flags = 0;
  std::uint8_t extraFlags = 0;

  bool IsFixedLength() const { return (flags & Format::Tdef::kFlagFixedLength) != 0; }
  bool IsAutoNumber() const {
    return (flags & (Format::Tdef::kFlagAutoNumber | Format::Tdef::kFlagReplicationAutoNumber)) !=
           0;
  }
  bool IsHyperlink() const { return (flags & Format::Tdef::kFlagHyperlink) != 0; }
  bool AllowsTextCompression() const {
    return (extraFlags & Format::Tdef::kExtraFlagCompressedText) != 0;
  }
  bool IsLongValue() const { return typeCode == Format::kTypeMemo || typeCode == Format::kTypeOle; }
  // Text columns: the maximum number of characters.
  std::uint16_t MaxCharacters() const { return static_cast<std::uint16_t>(length / 2); }
  // Whether the engine decodes values of this column (others read as Unsupported).
  bool IsSupportedType() const;
};

// Size in the fixed area of a fixed-length type; 0 for types not stored there.
std::size_t FixedSizeOfType(std::uint8_t typeCode);
// A readable name of a type code ("Long Integer", "Text", ...).
const char* TypeName(std::uint8_t typeCode);

}  // namespace Jet
