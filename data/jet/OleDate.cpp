#include "data/jet/OleDate.h"

#include <cmath>
#include <cstdint>

namespace Jet {
namespace {

constexpr double kFirstDay = -657434.0;    // 0100-01-01
constexpr double kLastDay = 2958465.0;     // 9999-12-31
constexpr std::int64_t kEpochOffset = 25569;  // 1899-12-30 is 25569 days before 1970-01-01

// Days since 1970-01-01 to a civil date (H. Hinnant's algorithm).
void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  std::int64_t doe = z - era * 146097;
  std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  std::int64_t y = yoe + era * 400;
  std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  std::int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(y + (month <= 2 ? 1 : 0));
}

}  // namespace

bool OleDateToCivil(double oleDate, CivilDateTime& out) {
  if (!std::isfinite(oleDate) || oleDate <= kFirstDay - 1.0 || oleDate >= kLastDay + 1.0) return false;
  double wholeDays = std::trunc(oleDate);
  std::int64_t days = static_cast<std::int64_t>(wholeDays);
  std::int64_t seconds = static_cast<std::int64_t>(std::llround(std::fabs(oleDate - wholeDays) * 86400.0));
  if (seconds >= 86400) {
    seconds -= 86400;
    days += 1;
  }
  CivilFromDays(days - kEpochOffset, out.year, out.month, out.day);
  if (out.year < 100 || out.year > 9999) return false;
  out.hour = static_cast<int>(seconds / 3600);
  out.minute = static_cast<int>(seconds / 60 % 60);
  out.second = static_cast<int>(seconds % 60);
  return true;
}

}  // namespace Jet
