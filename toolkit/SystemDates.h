#pragma once
#include <windows.h>

#include <string>

#include "toolkit/base/DateTimeValue.h"

namespace LumoUtility {

// The fields of a SYSTEMTIME, checked and normalised like MakeDate.
DateTimeValue DateFromSystemTime(const SYSTEMTIME& time);
SYSTEMTIME ToSystemTime(const DateTimeValue& value);
// Today's local date and time.
DateTimeValue LocalNow();
// The date in the user's short date format ("05/03/2020" in Italy).
std::string FormatShortDate(const DateTimeValue& value);

}  // namespace LumoUtility
