#include "data/sql/ValueOperations.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "data/sql/SqlError.h"
#include "data/sql/TextCollation.h"
#include "toolkit/base/TextEncoding.h"

namespace Sql {
namespace {

const char kTypeMismatch[] = "Tipo di dati non corrispondente nell'espressione criterio.";

[[noreturn]] void Mismatch() { throw SqlError(kTypeMismatch); }

std::optional<double> NumberFromText(const std::u16string& text) {
  std::string narrow = LumoUtility::NarrowUtf16(text);
  std::size_t start = narrow.find_first_not_of(' ');
  if (start == std::string::npos) return std::nullopt;
  char* end = nullptr;
  double d = std::strtod(narrow.c_str() + start, &end);
  while (*end == ' ') ++end;
  if (*end != '\0' || !std::isfinite(d)) return std::nullopt;
  return d;
}

std::u16string TextOfNumber(const Value& v) {
  char buffer[64];
  switch (v.type) {
    case Value::Type::Boolean:
      std::snprintf(buffer, sizeof buffer, "%d", v.boolean ? -1 : 0);
      break;
    case Value::Type::Integer:
      std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(v.integer));
      break;
    default: std::snprintf(buffer, sizeof buffer, "%.15g", v.AsDouble()); break;
  }
  return LumoUtility::WidenToUtf16(buffer);
}

std::u16string AsText(const Value& v) {
  if (v.type == Value::Type::Text) return v.text;
  if (v.IsNull()) return u"";
  return TextOfNumber(v);
}

// Jet rounds to integers half to even.
double RoundHalfEven(double d) { return std::nearbyint(d); }

Value IntegerInRange(double d, double low, double high, const ColumnInfo& column) {
  double rounded = RoundHalfEven(d);
  if (!(rounded >= low && rounded <= high)) {
    throw SqlError("Overflow: il valore non entra nel campo '" + column.name + "'.");
  }
  return Value::Integer(static_cast<std::int64_t>(rounded));
}

std::optional<double> AsNumberForColumn(const Value& v) {
  if (v.IsNumeric()) return v.AsDouble();
  if (v.type == Value::Type::Text) return NumberFromText(v.text);
  return std::nullopt;
}

[[noreturn]] void ColumnMismatch(const ColumnInfo& column) {
  throw SqlError("Tipo di dati non corrispondente per il campo '" + column.name + "'.");
}

}  // namespace

Value LiteralValue(const Literal& literal) {
  switch (literal.kind) {
    case Literal::Kind::Null: return Value::Null();
    case Literal::Kind::Integer: return Value::Integer(literal.integer);
    case Literal::Kind::Decimal: return Value::Double(literal.decimal);
    case Literal::Kind::Text: return Value::Text(LumoUtility::WidenToUtf16(literal.text));
    case Literal::Kind::Date: {
      std::optional<double> date = ParseDateText(literal.text);
      if (!date) throw SqlError("Data non valida nell'istruzione SQL: #" + literal.text + "#.");
      return Value::DateTime(*date);
    }
  }
  return Value::Null();
}

int CompareValues(const Value& a, const Value& b) {
  using T = Value::Type;
  if (a.type == T::Text && b.type == T::Text) return CompareText(a.text, b.text);
  if (a.type == T::Text || b.type == T::Text) {
    // A date compared with text: the text must hold a date.
    const Value& text = a.type == T::Text ? a : b;
    const Value& other = a.type == T::Text ? b : a;
    if (other.type != T::DateTime) Mismatch();
    std::optional<double> date = ParseDateText(LumoUtility::NarrowUtf16(text.text));
    if (!date) Mismatch();
    double x = a.type == T::Text ? *date : a.number;
    double y = a.type == T::Text ? b.number : *date;
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  if (a.type == T::Integer && b.type == T::Integer) {
    return a.integer < b.integer ? -1 : (a.integer > b.integer ? 1 : 0);
  }
  double x = a.AsDouble();
  double y = b.AsDouble();
  return x < y ? -1 : (x > y ? 1 : 0);
}

Value Truth(bool b) { return Value::Boolean(b); }

bool Holds(const Value& condition) {
  if (condition.IsNull()) return false;
  if (condition.type == Value::Type::Text) Mismatch();
  return condition.AsDouble() != 0.0;
}

Value Not(const Value& v) {
  if (v.IsNull()) return v;
  return Truth(!Holds(v));
}

Value Negate(const Value& v) {
  switch (v.type) {
    case Value::Type::Null: return v;
    case Value::Type::Integer:
      if (v.integer == std::numeric_limits<std::int64_t>::min())
        return Value::Double(-v.AsDouble());
      return Value::Integer(-v.integer);
    case Value::Type::Boolean: return Value::Integer(v.boolean ? 1 : 0);
    case Value::Type::Currency: return Value::Currency(-v.integer);
    case Value::Type::Double: return Value::Double(-v.number);
    case Value::Type::DateTime: return Value::DateTime(-v.number);
    case Value::Type::Text: Mismatch();
  }
  return v;
}

Value ApplyBinary(BinaryOp op, const Value& a, const Value& b) {
  using T = Value::Type;
  switch (op) {
    case BinaryOp::And:
      if ((!a.IsNull() && !Holds(a)) || (!b.IsNull() && !Holds(b))) return Truth(false);
      if (a.IsNull() || b.IsNull()) return Value::Null();
      return Truth(true);
    case BinaryOp::Or:
      if ((!a.IsNull() && Holds(a)) || (!b.IsNull() && Holds(b))) return Truth(true);
      if (a.IsNull() || b.IsNull()) return Value::Null();
      return Truth(false);
    case BinaryOp::Equal:
    case BinaryOp::NotEqual:
    case BinaryOp::Less:
    case BinaryOp::LessEqual:
    case BinaryOp::Greater:
    case BinaryOp::GreaterEqual: {
      if (a.IsNull() || b.IsNull()) return Value::Null();
      int order = CompareValues(a, b);
      switch (op) {
        case BinaryOp::Equal: return Truth(order == 0);
        case BinaryOp::NotEqual: return Truth(order != 0);
        case BinaryOp::Less: return Truth(order < 0);
        case BinaryOp::LessEqual: return Truth(order <= 0);
        case BinaryOp::Greater: return Truth(order > 0);
        default: return Truth(order >= 0);
      }
    }
    case BinaryOp::Concatenate:
      if (a.IsNull() && b.IsNull()) return Value::Null();
      return Value::Text(AsText(a) + AsText(b));
    case BinaryOp::Add:
      if (a.type == T::Text && b.type == T::Text) return Value::Text(a.text + b.text);
      [[fallthrough]];
    case BinaryOp::Subtract:
    case BinaryOp::Multiply:
    case BinaryOp::Divide: {
      if (a.IsNull() || b.IsNull()) return Value::Null();
      if (!a.IsNumeric() || !b.IsNumeric()) Mismatch();
      if (a.type == T::Integer && b.type == T::Integer && op != BinaryOp::Divide) {
        std::int64_t result = 0;
        bool overflow = op == BinaryOp::Add ? __builtin_add_overflow(a.integer, b.integer, &result)
                        : op == BinaryOp::Subtract
                            ? __builtin_sub_overflow(a.integer, b.integer, &result)
                            : __builtin_mul_overflow(a.integer, b.integer, &result);
        if (!overflow) return Value::Integer(result);
      }
      double x = a.AsDouble();
      double y = b.AsDouble();
      if (op == BinaryOp::Divide && y == 0.0) throw SqlError("Divisione per zero.");
      double result = op == BinaryOp::Add        ? x + y
                      : op == BinaryOp::Subtract ? x - y
                      : op == BinaryOp::Multiply ? x * y
                                                 : x / y;
      // A date moved by a number of days stays a date.
      bool date = (a.type == T::DateTime) != (b.type == T::DateTime) &&
                  (op == BinaryOp::Add || (op == BinaryOp::Subtract && a.type == T::DateTime));
      return date ? Value::DateTime(result) : Value::Double(result);
    }
  }
  return Value::Null();
}

std::string HashKey(const Value& v) {
  switch (v.type) {
    case Value::Type::Null: return "z";
    case Value::Type::Text: {
      std::u16string key = CollationKey(v.text);
      std::string bytes = "t";
      bytes.append(reinterpret_cast<const char*>(key.data()), key.size() * sizeof(char16_t));
      return bytes;
    }
    default: {
      if (v.type == Value::Type::Integer) return "n" + std::to_string(v.integer);
      double d = v.AsDouble();
      if (d == 0.0) return "n0";  // 0.0 and -0.0 compare equal
      if (std::trunc(d) == d && std::fabs(d) < 9.0e15) {
        return "n" + std::to_string(static_cast<std::int64_t>(d));
      }
      std::string bytes = "d";
      char raw[sizeof d];
      std::memcpy(raw, &d, sizeof d);
      bytes.append(raw, sizeof d);
      return bytes;
    }
  }
}

Value CoerceForColumn(const Value& v, const ColumnInfo& column) {
  if (v.IsNull()) return v;
  switch (column.type) {
    case ColumnType::Boolean: {
      if (!v.IsNumeric()) ColumnMismatch(column);
      return Value::Boolean(v.AsDouble() != 0.0);
    }
    case ColumnType::Byte:
    case ColumnType::Integer:
    case ColumnType::Long: {
      std::optional<double> d = AsNumberForColumn(v);
      if (!d) ColumnMismatch(column);
      if (column.type == ColumnType::Byte) return IntegerInRange(*d, 0, 255, column);
      if (column.type == ColumnType::Integer) return IntegerInRange(*d, -32768, 32767, column);
      return IntegerInRange(*d, -2147483648.0, 2147483647.0, column);
    }
    case ColumnType::Single:
    case ColumnType::Double: {
      std::optional<double> d = AsNumberForColumn(v);
      if (!d) ColumnMismatch(column);
      if (column.type == ColumnType::Single) {
        if (std::fabs(*d) > std::numeric_limits<float>::max()) {
          throw SqlError("Overflow: il valore non entra nel campo '" + column.name + "'.");
        }
        return Value::Double(static_cast<float>(*d));
      }
      return Value::Double(*d);
    }
    case ColumnType::Currency: {
      std::optional<double> d = AsNumberForColumn(v);
      if (!d) ColumnMismatch(column);
      double scaled = std::nearbyint(*d * 10000.0);
      if (!(std::fabs(scaled) < 9.2e18)) {
        throw SqlError("Overflow: il valore non entra nel campo '" + column.name + "'.");
      }
      return Value::Currency(static_cast<std::int64_t>(scaled));
    }
    case ColumnType::DateTime: {
      if (v.type == Value::Type::Text) {
        std::optional<double> date = ParseDateText(LumoUtility::NarrowUtf16(v.text));
        if (!date) ColumnMismatch(column);
        return Value::DateTime(*date);
      }
      return Value::DateTime(v.AsDouble());
    }
    case ColumnType::Text:
    case ColumnType::Memo: {
      Value text = Value::Text(AsText(v));
      if (column.type == ColumnType::Text && column.maxCharacters > 0 &&
          text.text.size() > column.maxCharacters) {
        throw SqlError("Il campo '" + column.name +
                       "' è troppo piccolo per accettare la quantità di dati che si è tentato "
                       "di aggiungere.");
      }
      return text;
    }
    case ColumnType::Unsupported:
      throw SqlError("Il campo '" + column.name + "' è di un tipo che il programma non gestisce.");
  }
  return v;
}

}  // namespace Sql
