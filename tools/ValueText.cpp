#include "tools/ValueText.h"

#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "data/jet/ColumnDefinition.h"
#include "toolkit/base/DateTimeValue.h"

namespace {

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

template <typename T>
std::string Shortest(T number) {
  char buffer[64];
  std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, number);
  return std::string(buffer, result.ptr);
}

std::string FormatCurrency(std::int64_t tenThousandths) {
  std::uint64_t magnitude = tenThousandths < 0 ? 0 - static_cast<std::uint64_t>(tenThousandths)
                                               : static_cast<std::uint64_t>(tenThousandths);
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%s%" PRIu64 ".%04" PRIu64, tenThousandths < 0 ? "-" : "",
                magnitude / 10000, magnitude % 10000);
  return buffer;
}

std::string FormatDate(double oleDate) {
  LumoUtility::DateTimeValue civil;
  if (!LumoUtility::FromOleDate(oleDate, LumoUtility::OleFraction::kTimeOfDay, civil)) {
    return Shortest(oleDate);
  }
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", civil.year, civil.month,
                civil.day, civil.hour, civil.minute, civil.second);
  return buffer;
}

}  // namespace

std::string Utf16ToUtf8(const std::u16string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::string FormatValue(const Jet::Value& value) {
  using Jet::ValueKind;
  switch (value.Kind()) {
    case ValueKind::kNull: return "";
    case ValueKind::kBoolean: return value.As<bool>() ? "1" : "0";
    case ValueKind::kByte: return std::to_string(value.As<std::uint8_t>());
    case ValueKind::kInteger: return std::to_string(value.As<std::int16_t>());
    case ValueKind::kLong: return std::to_string(value.As<std::int32_t>());
    case ValueKind::kSingle: return Shortest(value.As<float>());
    case ValueKind::kDouble: return Shortest(value.As<double>());
    case ValueKind::kCurrency: return FormatCurrency(value.As<Jet::Currency>().tenThousandths);
    case ValueKind::kDateTime: return FormatDate(value.As<Jet::DateTime>().oleDate);
    case ValueKind::kText: return Utf16ToUtf8(value.As<std::u16string>());
    case ValueKind::kMemo: return Utf16ToUtf8(value.As<Jet::MemoText>().text);
    case ValueKind::kUnsupported:
      return std::string("[") + Jet::TypeName(value.As<Jet::Unsupported>().typeCode) + "]";
  }
  return "";
}

std::string QuoteCsvField(const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string quoted = "\"";
  for (char c : field) {
    if (c == '"') quoted.push_back('"');
    quoted.push_back(c);
  }
  quoted.push_back('"');
  return quoted;
}
