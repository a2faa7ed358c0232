#include "toolkit/base/TextEncoding.h"

#include <cstdint>

namespace LumoUtility {
namespace {

// Windows-1252 bytes 0x80..0x9F. The five bytes the code page leaves undefined map to
// the C1 control of the same value, as Windows' own conversion does, so they round-trip.
constexpr char16_t kHighControlRange[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char NarrowCodePoint(std::uint32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
    return static_cast<char>(codePoint);
  }
  for (unsigned i = 0; i < 32; ++i) {
    if (kHighControlRange[i] == codePoint) return static_cast<char>(0x80 + i);
  }
  return '?';
}

bool IsHighSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

template <typename Wide>
Wide WidenAs(const std::string& text) {
  Wide wide;
  wide.reserve(text.size());
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 && byte < 0xA0) {
      wide.push_back(static_cast<typename Wide::value_type>(kHighControlRange[byte - 0x80]));
    } else {
      wide.push_back(static_cast<typename Wide::value_type>(byte));
    }
  }
  return wide;
}

template <typename Wide>
std::string NarrowFrom(const Wide& text) {
  std::string narrow;
  narrow.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto unit = static_cast<std::uint32_t>(text[i]);
    // A surrogate pair is one character outside the code page: one "?", not two.
    if (IsHighSurrogate(unit) && i + 1 < text.size() &&
        IsLowSurrogate(static_cast<std::uint32_t>(text[i + 1]))) {
      ++i;
      narrow.push_back('?');
      continue;
    }
    narrow.push_back(NarrowCodePoint(unit));
  }
  return narrow;
}

}  // namespace

std::wstring WidenText(const std::string& text) { return WidenAs<std::wstring>(text); }
std::string NarrowText(const std::wstring& text) { return NarrowFrom(text); }
std::u16string WidenToUtf16(const std::string& text) { return WidenAs<std::u16string>(text); }
std::string NarrowUtf16(const std::u16string& text) { return NarrowFrom(text); }

std::string ToUtf8(const std::string& text) {
  std::string bytes;
  bytes.reserve(text.size());
  // Every Windows-1252 character lies in the basic plane: one to three bytes each.
  for (char16_t unit : WidenToUtf16(text)) {
    if (unit < 0x80) {
      bytes.push_back(static_cast<char>(unit));
    } else if (unit < 0x800) {
      bytes.push_back(static_cast<char>(0xC0 | (unit >> 6)));
      bytes.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
    } else {
      bytes.push_back(static_cast<char>(0xE0 | (unit >> 12)));
      bytes.push_back(static_cast<char>(0x80 | ((unit >> 6) & 0x3F)));
      bytes.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
    }
  }
  return bytes;
}

}  // namespace LumoUtility
