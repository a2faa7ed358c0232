#include "app/AutomaticCopyNames.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <sstream>

namespace {

constexpr wchar_t kPrefix[] = L"dati-";
constexpr wchar_t kSuffix[] = L".mdb";
constexpr std::size_t kPrefixLength = 5;
// "dati-" "YYYYMMDD" "-" "HHMMSS" ".mdb"
constexpr std::size_t kNameLength = 5 + 8 + 1 + 6 + 4;
constexpr std::size_t kTimeStart = kPrefixLength + 8 + 1;

// The number of `count` decimal digits from `start`, or -1 when one is not a digit.
int Digits(const std::wstring& text, std::size_t start, std::size_t count) {
  int value = 0;
  for (std::size_t i = start; i < start + count; ++i) {
    if (text[i] < L'0' || text[i] > L'9') return -1;
    value = value * 10 + (text[i] - L'0');
  }
  return value;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// A field that is not digits reads -1, which no real time has.
bool IsRealTime(const CopyTime& t) {
  return t.year >= 1 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= DaysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
         t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

}  // namespace

std::wstring AutomaticCopyName(const CopyTime& t) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return kPrefix + std::wstring(stamp, stamp + std::char_traits<char>::length(stamp)) + kSuffix;
}

std::optional<CopyTime> AutomaticCopyTime(const std::wstring& fileName) {
  if (fileName.size() != kNameLength || fileName.compare(0, kPrefixLength, kPrefix) != 0 ||
      fileName[kTimeStart - 1] != L'-' ||
      fileName.compare(kNameLength - 4, std::wstring::npos, kSuffix) != 0) {
    return std::nullopt;
  }
  CopyTime t;
  t.year = Digits(fileName, kPrefixLength, 4);
  t.month = Digits(fileName, kPrefixLength + 4, 2);
  t.day = Digits(fileName, kPrefixLength + 6, 2);
  t.hour = Digits(fileName, kTimeStart, 2);
  t.minute = Digits(fileName, kTimeStart + 2, 2);
  t.second = Digits(fileName, kTimeStart + 4, 2);
  if (!IsRealTime(t)) return std::nullopt;
  return t;
}

std::vector<std::wstring> NewestCopiesFirst(const std::vector<std::wstring>& fileNames) {
  std::vector<std::wstring> copies;
  for (const std::wstring& name : fileNames) {
    if (AutomaticCopyTime(name)) copies.push_back(name);
  }
  std::sort(copies.begin(), copies.end(), std::greater<>());
  return copies;
}

std::vector<std::wstring> CopiesToDelete(const std::vector<std::wstring>& fileNames,
                                         const std::wstring& justWritten, std::size_t kept) {
  std::vector<std::wstring> copies = NewestCopiesFirst(fileNames);
  auto written = std::find(copies.begin(), copies.end(), justWritten);
  if (written != copies.end()) std::rotate(copies.begin(), written, written + 1);
  if (copies.size() <= kept) return {};
  return std::vector<std::wstring>(copies.begin() + static_cast<std::ptrdiff_t>(kept),
                                   copies.end());
}

std::string AutomaticCopyLine(const CopyTime& t, std::uint64_t bytes, const std::locale& numbers) {
  char when[32];
  std::snprintf(when, sizeof when, "%02d/%02d/%04d  %02d:%02d:%02d", t.day, t.month, t.year, t.hour,
                t.minute, t.second);
  std::ostringstream line;
  line.imbue(numbers);
  line << when << "   " << (bytes + 1023) / 1024 << " KB";
  return line.str();
}
