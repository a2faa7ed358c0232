#include "data/JetSqlConversions.h"

#include "toolkit/base/TextEncoding.h"

namespace JetSql {
namespace {

Sql::ColumnType TypeOf(const Jet::ColumnDefinition& column) {
  using T = Sql::ColumnType;
  switch (column.typeCode) {
    case Jet::Format::kTypeBoolean: return T::Boolean;
    case Jet::Format::kTypeByte: return T::Byte;
    case Jet::Format::kTypeInteger: return T::Integer;
    case Jet::Format::kTypeLong: return T::Long;
    case Jet::Format::kTypeCurrency: return T::Currency;
    case Jet::Format::kTypeSingle: return T::Single;
    case Jet::Format::kTypeDouble: return T::Double;
    case Jet::Format::kTypeDateTime: return T::DateTime;
    case Jet::Format::kTypeText: return T::Text;
    case Jet::Format::kTypeMemo: return T::Memo;
    default: return T::Unsupported;
  }
}

}  // namespace

Sql::Value ToSqlValue(const Jet::Value& value) {
  using Sql::Value;
  switch (value.Kind()) {
    case Jet::ValueKind::kNull: return Value::Null();
    case Jet::ValueKind::kBoolean: return Value::Boolean(value.As<bool>());
    case Jet::ValueKind::kByte: return Value::Integer(value.As<std::uint8_t>());
    case Jet::ValueKind::kInteger: return Value::Integer(value.As<std::int16_t>());
    case Jet::ValueKind::kLong: return Value::Integer(value.As<std::int32_t>());
    case Jet::ValueKind::kSingle: return Value::Double(value.As<float>());
    case Jet::ValueKind::kDouble: return Value::Double(value.As<double>());
    case Jet::ValueKind::kCurrency:
      return Value::Currency(value.As<Jet::Currency>().tenThousandths);
    case Jet::ValueKind::kDateTime: return Value::DateTime(value.As<Jet::DateTime>().oleDate);
    case Jet::ValueKind::kText: return Value::Text(value.As<std::u16string>());
    case Jet::ValueKind::kMemo: return Value::Text(value.As<Jet::MemoText>().text);
    case Jet::ValueKind::kUnsupported: return Value::Null();
  }
  return Value::Null();
}

Jet::Value ToEngineValue(const Sql::Value& v, const Jet::ColumnDefinition& column) {
  namespace F = Jet::Format;
  if (!column.IsSupportedType()) return Jet::Value(Jet::Unsupported{column.typeCode});
  if (v.IsNull()) return Jet::Value();
  switch (column.typeCode) {
    case F::kTypeBoolean: return Jet::Value(v.AsDouble() != 0.0);
    case F::kTypeByte: return Jet::Value(static_cast<std::uint8_t>(v.integer));
    case F::kTypeInteger: return Jet::Value(static_cast<std::int16_t>(v.integer));
    case F::kTypeLong: return Jet::Value(static_cast<std::int32_t>(v.integer));
    case F::kTypeSingle: return Jet::Value(static_cast<float>(v.AsDouble()));
    case F::kTypeDouble: return Jet::Value(v.AsDouble());
    case F::kTypeCurrency: return Jet::Value(Jet::Currency{v.integer});
    case F::kTypeDateTime: return Jet::Value(Jet::DateTime{v.AsDouble()});
    case F::kTypeText: return Jet::Value(v.text);
    case F::kTypeMemo: return Jet::Value(Jet::MemoText{v.text});
    default: return Jet::Value(Jet::Unsupported{column.typeCode});
  }
}

Sql::ColumnInfo ToColumnInfo(const Jet::ColumnDefinition& column) {
  Sql::ColumnInfo info;
  info.name = LumoUtility::NarrowUtf16(column.name);
  info.type = TypeOf(column);
  info.autoNumber = column.IsAutoNumber();
  if (info.type == Sql::ColumnType::Text) info.maxCharacters = column.MaxCharacters();
  return info;
}

Sql::TableInfo ToTableInfo(const std::u16string& name, const Jet::TableDefinition& table) {
  Sql::TableInfo info;
  info.name = LumoUtility::NarrowUtf16(name);
  for (const Jet::ColumnDefinition& column : table.columns) {
    info.columns.push_back(ToColumnInfo(column));
  }
  for (const Jet::IndexDefinition& index : table.indexes) {
    if (!index.IsPrimaryKey()) continue;
    for (const Jet::IndexColumn& key : index.columns) {
      for (std::size_t i = 0; i < table.columns.size(); ++i) {
        if (table.columns[i].number == key.columnNumber) {
          info.primaryKey.push_back(static_cast<int>(i));
        }
      }
    }
    break;
  }
  return info;
}

Sql::RowId RowIdOf(const Jet::RowPointer& row) {
  return (static_cast<Sql::RowId>(row.page) << 8) | row.row;
}

Jet::RowPointer PointerOf(Sql::RowId id) {
  return Jet::RowPointer{static_cast<std::uint32_t>(id >> 8), static_cast<std::uint8_t>(id & 0xFF)};
}

}  // namespace JetSql
