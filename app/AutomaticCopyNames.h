#pragma once
#include <cstddef>
#include <cstdint>
#include <locale>
#include <optional>
#include <string>
#include <vector>

// The names of the automatic copies of the database ("dati-YYYYMMDD-HHMMSS.mdb", local
// time) and which of them to keep. Only names of exactly that form, of a real date and
// time, are ever counted or deleted: the folder may hold anything else.

// How many automatic copies are kept.
inline constexpr std::size_t kAutomaticCopiesKept = 10;

// When a copy was taken, local time.
struct CopyTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

std::wstring AutomaticCopyName(const CopyTime& time);
// The time a copy's file name carries; none when the name is not exactly a copy's.
std::optional<CopyTime> AutomaticCopyTime(const std::wstring& fileName);

// The copies' names among the file names, newest first (the fixed-width fields sort
// by time).
std::vector<std::wstring> NewestCopiesFirst(const std::vector<std::wstring>& fileNames);
// The copies to delete so that `kept` remain: the oldest, never `justWritten` (the
// newest data, even when the clock was set back since an older copy was named).
std::vector<std::wstring> CopiesToDelete(const std::vector<std::wstring>& fileNames,
                                         const std::wstring& justWritten,
                                         std::size_t kept = kAutomaticCopiesKept);

// A copy as the list of copies shows it: "07/12/2026  20:31:05   1.234 KB", the size in
// whole kilobytes rounded up, written with the locale's digit grouping.
std::string AutomaticCopyLine(const CopyTime& time, std::uint64_t bytes,
                              const std::locale& numbers);
