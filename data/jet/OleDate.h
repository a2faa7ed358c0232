#pragma once

namespace Jet {

struct CivilDateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Converts a Date/Time value (days since 1899-12-30; for negative values the fraction
// is still the time of day measured forward from midnight) to a proleptic Gregorian date
// and time, rounded to the second. False for values outside Access's range (years
// 100-9999) and for NaN or infinities.
bool OleDateToCivil(double oleDate, CivilDateTime& out);

}  // namespace Jet
