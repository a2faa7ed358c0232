#include "tools/ValueText.h"

#include <charconv>

#include "data/jet/ColumnDefinition.h"
#include "toolkit/base/CsvText.h"
#include "toolkit/base/DateTimeValue.h"

namespace {

// Writes at `out`, which has room for 4 bytes; returns the end.
inline char* EncodeUtf8(char* out, char32_t c) {
  if (c < 0x80) {
    *out++ = static_cast<char>(c);
  } else if (c < 0x800) {
    *out++ = static_cast<char>(0xC0 | (c >> 6));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (c >> 12));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (c >> 18));
    *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

template <typename T>
void AppendShortestOf(std::string& out, T number) {
  char buffer[64];
  std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, number);
  out.append(buffer, static_cast<std::size_t>(result.ptr - buffer));
}

}  // namespace

void AppendShortest(std::string& out, double number) { AppendShortestOf(out, number); }

void AppendShortest(std::string& out, float number) { AppendShortestOf(out, number); }

void AppendCurrency(std::string& out, std::int64_t tenThousandths) {
  LumoUtility::AppendDecimal(out, tenThousandths, 4, '.');
}

void AppendOleDate(std::string& out, double oleDate) {
  LumoUtility::DateTimeValue civil;
  if (LumoUtility::OleDateFields(oleDate, LumoUtility::OleFraction::kTimeOfDay, civil)) {
    LumoUtility::AppendDateAndTime(out, civil);
  } else {
    AppendShortest(out, oleDate);
  }
}

void AppendUnsupported(std::string& out, std::uint8_t typeCode) {
  out.push_back('[');
  out += Jet::TypeName(typeCode);
  out.push_back(']');
}

std::string Utf16ToUtf8(const std::u16string& text) {
  std::string out;
  out.reserve(text.size());
  AppendUtf8(out, text);
  return out;
}

void AppendUtf8(std::string& out, const std::u16string& text) {
  // At most 3 bytes per UTF-16 unit (a surrogate pair's 4 bytes stand for two units).
  std::size_t start = out.size();
  out.resize(start + 3 * text.size() + 1);
  char* end = &out[start];
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    end = EncodeUtf8(end, c);
  }
  out.resize(static_cast<std::size_t>(end - out.data()));
}

std::string FormatValue(const Jet::Value& value) {
  using Jet::ValueKind;
  std::string out;
  switch (value.Kind()) {
    case ValueKind::kNull: break;
    case ValueKind::kBoolean: out = value.As<bool>() ? "1" : "0"; break;
    case ValueKind::kByte: LumoUtility::AppendInteger(out, value.As<std::uint8_t>()); break;
    case ValueKind::kInteger: LumoUtility::AppendInteger(out, value.As<std::int16_t>()); break;
    case ValueKind::kLong: LumoUtility::AppendInteger(out, value.As<std::int32_t>()); break;
    case ValueKind::kSingle: AppendShortest(out, value.As<float>()); break;
    case ValueKind::kDouble: AppendShortest(out, value.As<double>()); break;
    case ValueKind::kCurrency: AppendCurrency(out, value.As<Jet::Currency>().tenThousandths); break;
    case ValueKind::kDateTime: AppendOleDate(out, value.As<Jet::DateTime>().oleDate); break;
    case ValueKind::kText: AppendUtf8(out, value.As<std::u16string>()); break;
    case ValueKind::kMemo: AppendUtf8(out, value.As<Jet::MemoText>().text); break;
    case ValueKind::kUnsupported:
      AppendUnsupported(out, value.As<Jet::Unsupported>().typeCode);
      break;
  }
  return out;
}
