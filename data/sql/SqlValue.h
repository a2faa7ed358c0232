#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace Sql {

// A value as the SQL layer sees it. Integer holds Byte, Integer and Long Integer values;
// Double holds Single and Double; Currency is in ten-thousandths; DateTime is the OLE
// date (days since 1899-12-30, the time as the fraction). Text is UTF-16, as stored.
struct Value {
  enum class Type { Null, Boolean, Integer, Double, Currency, DateTime, Text };
  Type type = Type::Null;
  bool boolean = false;
  std::int64_t integer = 0;  // Integer, and Currency scaled by 10,000
  double number = 0.0;       // Double, DateTime
  std::u16string text;

  static Value Null() { return Value(); }
  static Value Boolean(bool b);
  static Value Integer(std::int64_t i);
  static Value Double(double d);
  static Value Currency(std::int64_t tenThousandths);
  static Value DateTime(double oleDate);
  static Value Text(std::u16string t);

  bool IsNull() const { return type == Type::Null; }
  bool IsNumeric() const { return type != Type::Null && type != Type::Text; }
  // Numeric types as a double (Yes is -1, as Jet has it).
  double AsDouble() const;
};

// Reads "YYYY-MM-DD", "YYYY-MM-DD HH:MM[:SS]" or "M/D/YYYY" (the form of #...# literals)
// as an OLE date; nothing for text that is not a valid date.
std::optional<double> ParseDateText(const std::string& text);

}  // namespace Sql
