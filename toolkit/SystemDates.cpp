#include "toolkit/SystemDates.h"

#include "toolkit/base/TextEncoding.h"

namespace LumoUtility {

DateTimeValue DateFromSystemTime(const SYSTEMTIME& time) {
  DateTimeValue fields;
  fields.year = time.wYear;
  fields.month = time.wMonth;
  fields.dayOfWeek = time.wDayOfWeek;
  fields.day = time.wDay;
  fields.hour = time.wHour;
  fields.minute = time.wMinute;
  fields.second = time.wSecond;
  fields.milliseconds = time.wMilliseconds;
  return NormalizeDateTime(fields);
}

SYSTEMTIME ToSystemTime(const DateTimeValue& value) {
  SYSTEMTIME time{};
  time.wYear = value.year;
  time.wMonth = value.month;
  time.wDayOfWeek = value.dayOfWeek;
  time.wDay = value.day;
  time.wHour = value.hour;
  time.wMinute = value.minute;
  time.wSecond = value.second;
  time.wMilliseconds = value.milliseconds;
  return time;
}

DateTimeValue LocalNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return DateFromSystemTime(now);
}

std::string FormatShortDate(const DateTimeValue& value) {
  SYSTEMTIME time = ToSystemTime(value);
  wchar_t buffer[128] = {};
  if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, buffer, 128) == 0) {
    return "";
  }
  return NarrowText(buffer);
}

}  // namespace LumoUtility
