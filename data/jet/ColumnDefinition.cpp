#include "data/jet/ColumnDefinition.h"

namespace Jet {

bool ColumnDefinition::IsSupportedType() const {
  switch (typeCode) {
    case Format::kTypeBoolean:
    case Format::kTypeByte:
    case Format::kTypeInteger:
    case Format::kTypeLong:
    case Format::kTypeCurrency:
    case Format::kTypeSingle:
    case Format::kTypeDouble:
    case Format::kTypeDateTime: return IsFixedLength();
    case Format::kTypeText:
    case Format::kTypeMemo: return !IsFixedLength();
    default: return false;
  }
}

std::size_t FixedSizeOfType(std::uint8_t typeCode) {
  switch (typeCode) {
    case Format::kTypeByte: return 1;
    case Format::kTypeInteger: return 2;
    case Format::kTypeLong: return 4;
    case Format::kTypeCurrency: return 8;
    case Format::kTypeSingle: return 4;
    case Format::kTypeDouble: return 8;
    case Format::kTypeDateTime: return 8;
    case Format::kTypeGuid: return 16;
    case Format::kTypeNumeric: return 17;
    default: return 0;
  }
}

const char* TypeName(std::uint8_t typeCode) {
  switch (typeCode) {
    case Format::kTypeBoolean: return "Yes/No";
    case Format::kTypeByte: return "Byte";
    case Format::kTypeInteger: return "Integer";
    case Format::kTypeLong: return "Long Integer";
    case Format::kTypeCurrency: return "Currency";
    case Format::kTypeSingle: return "Single";
    case Format::kTypeDouble: return "Double";
    case Format::kTypeDateTime: return "Date/Time";
    case Format::kTypeBinary: return "Binary";
    case Format::kTypeText: return "Text";
    case Format::kTypeOle: return "OLE Object";
    case Format::kTypeMemo: return "Memo";
    case Format::kTypeGuid: return "Replication ID";
    case Format::kTypeNumeric: return "Decimal";
    default: return "unknown";
  }
}

}  // namespace Jet
