#pragma once
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace Jet {

// Currency is a scaled integer: value x 10,000.
struct Currency {
  std::int64_t tenThousandths = 0;
  bool operator==(const Currency& other) const { return tenThousandths == other.tenThousandths; }
};

// Date/Time as stored: days since 1899-12-30 (OLE automation date).
struct DateTime {
  double oleDate = 0.0;
  bool operator==(const DateTime& other) const { return oleDate == other.oleDate; }
};

// Memo text, kept apart from Text so callers can tell the column kinds apart.
struct MemoText {
  std::u16string text;
  bool operator==(const MemoText& other) const { return text == other.text; }
};

// A value the engine does not decode (OLE, Binary, GUID, Decimal, unknown types). It is
// reported as such rather than guessed at; the type code says which kind it was.
struct Unsupported {
  std::uint8_t typeCode = 0;
  bool operator==(const Unsupported& other) const { return typeCode == other.typeCode; }
};

enum class ValueKind {
  kNull,
  kBoolean,
  kByte,
  kInteger,
  kLong,
  kSingle,
  kDouble,
  kCurrency,
  kDateTime,
  kText,
  kMemo,
  kUnsupported
};

// One column value of one row. Byte is unsigned in Access (0..255).
class Value {
 public:
  using Data = std::variant<std::monostate, bool, std::uint8_t, std::int16_t, std::int32_t, float,
                            double, Currency, DateTime, std::u16string, MemoText, Unsupported>;

  Value() = default;
  template <typename T, typename = std::enable_if_t<!std::is_same_v<std::decay_t<T>, Value>>>
  explicit Value(T value) : data_(std::move(value)) {}

  ValueKind Kind() const { return static_cast<ValueKind>(data_.index()); }
  bool IsNull() const { return data_.index() == 0; }

  template <typename T>
  bool Is() const {
    return std::holds_alternative<T>(data_);
  }
  // Throws std::bad_variant_access when the value is of another kind.
  template <typename T>
  const T& As() const {
    return std::get<T>(data_);
  }
  const Data& Raw() const { return data_; }

  bool operator==(const Value& other) const { return data_ == other.data_; }
  bool operator!=(const Value& other) const { return !(*this == other); }

 private:
  Data data_;
};

}  // namespace Jet
