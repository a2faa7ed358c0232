#pragma once

#include "toolkit/base/DateTimeValue.h"

namespace LumoUtility {

// The date the given number of calendar months after (or before) the given one, at
// 00:00:00. A day that the target month lacks becomes its last day: 31/08 + 6 months is
// 28/02 (29/02 in a leap year), 29/02/2024 + 12 months is 28/02/2025. An invalid date, or a
// result outside MakeDate's range, gives an invalid value.
DateTimeValue AddCalendarMonths(const DateTimeValue& date, int months);

// Orders two values by calendar day alone, the time of day ignored: negative, 0 or positive.
int CompareDays(const DateTimeValue& a, const DateTimeValue& b);

}  // namespace LumoUtility
