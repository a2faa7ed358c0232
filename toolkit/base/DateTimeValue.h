#pragma once
#include <cstdint>
#include <string>

namespace LumoUtility {

// The eight fields of a Win32 SYSTEMTIME, in its order, plus a validity flag.
// A value is normal once it has been through the file-time conversion, which checks
// it and fills in dayOfWeek (0 = Sunday). Records default to 1900-01-01 00:00:00,
// which means "no date set".
struct DateTimeValue {
  std::uint16_t year = 1900;
  std::uint16_t month = 1;
  std::uint16_t dayOfWeek = 1;
  std::uint16_t day = 1;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t milliseconds = 0;
  bool invalid = false;
};

bool operator==(const DateTimeValue& a, const DateTimeValue& b);
inline bool operator!=(const DateTimeValue& a, const DateTimeValue& b) { return !(a == b); }

// Normal value at 00:00:00.000; invalid (fields kept) for an impossible date or a year
// outside 1601..30827, the range of Windows file times.
DateTimeValue MakeDate(std::uint16_t year, std::uint16_t month, std::uint16_t day);
// The same check and normalisation starting from all eight fields.
DateTimeValue NormalizeDateTime(const DateTimeValue& fields);
// Shifts by whole seconds; an invalid value is returned unchanged, and a result outside
// the file-time range is marked invalid.
DateTimeValue AddSeconds(const DateTimeValue& value, std::int64_t seconds);

std::string FormatDayMonthYear(const DateTimeValue& value);  // DD/MM/YYYY
std::string FormatIsoDate(const DateTimeValue& value);       // YYYY-MM-DD

// Windows file time (100 ns units since 1601-01-01), the pivot of normalisation and of
// AddSeconds.
// Return false exactly where SystemTimeToFileTime / FileTimeToSystemTime fail.
bool ToFileTime(const DateTimeValue& value, std::uint64_t& fileTime);
bool FromFileTime(std::uint64_t fileTime, DateTimeValue& value);

// OLE dates (Access's Date/Time): days since 1899-12-30, the time of day as the fraction.
// Access's own range is years 100..9999; a value outside it, NaN or an infinity gives
// false. Years before 1601 come back with their fields set but marked invalid, as
// MakeDate has them.
//
// How the fraction is read. From 1899-12-30 on the two readings differ only in rounding
// a part second; before it, also in the direction the time runs. Each is kept where the
// program has always used it.
enum class OleFraction {
  // As Access shows it: whole days and time of day apart (before 1899-12-30 the time still
  // runs forward from midnight: -1.25 is 1899-12-29 06:00), rounded to the nearest second.
  kTimeOfDay,
  // As the program's stores read and write it: a count of days on the number line (-1.25
  // is 1899-12-28 18:00), cut toward zero to whole seconds.
  kSignedDays,
};
bool FromOleDate(double oleDate, OleFraction fraction, DateTimeValue& value);
// The same year, month, day, hour, minute and second without the normalisation (no
// dayOfWeek, no validity mark): for showing millions of dates, where the file-time round
// trip would cost more than the rest of the work.
bool OleDateFields(double oleDate, OleFraction fraction, DateTimeValue& value);
// The OleFraction::kSignedDays form of a normal value of years 1601..9999 (milliseconds
// dropped); false for any other value.
bool ToOleDate(const DateTimeValue& value, double& oleDate);

}  // namespace LumoUtility
