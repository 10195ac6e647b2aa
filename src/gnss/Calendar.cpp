#include "gnss/Calendar.h"

#include <cmath>
#include <iomanip>
#include <ostream>

void Sec2HMS(long double seconds, unsigned short& h, unsigned short& m, long double& s) {
  const long double hours = seconds / 3600.0L;
  const long double hh = std::floor(hours);
  if (!(hh >= 0.0L && hh < 65535.0L)) {
    h = 65535;
    m = 0;
    s = 0.0L;
    return;
  }
  const long double minutes = (hours - hh) * 60.0L;
  const long double mm = std::floor(minutes);
  h = static_cast<unsigned short>(hh);
  m = static_cast<unsigned short>(mm);
  s = (minutes - mm) * 60.0L;
  if (std::fabs(s - 60.0L) < 1e-10L) {
    s = 0.0L;
    ++m;
  }
  if (m == 60) {
    m = 0;
    ++h;
  }
}

bool LeapYear(long year) {
  return year > 0 && year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysBeforeMonth(int month, bool leap) {
  static const int kCommon[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};
  static const int kLeap[13] = {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366};
  if (month < 1 || month > 13) return 0;
  return leap ? kLeap[month - 1] : kCommon[month - 1];
}

void WriteHMS(std::ostream& os, unsigned short h, unsigned short m, long double s, int width,
              int ndec) {
  os << std::fixed << std::setfill('0') << std::setw(2) << h << ':' << std::setw(2) << m << ':'
     << std::setw(width) << std::setprecision(ndec) << s;
}
