#include "orbits/OrbitText.h"

#include <sstream>

#include "core/TextFields.h"
#include "gnss/TimeConverse.h"
#include "gnss/ymdhms.h"

namespace orbittext {

short SatNumber(char system, int number) {
  switch (system) {
    case 'G':
    case ' ':
      return static_cast<short>(number);
    case 'R':
      return static_cast<short>(number + 100);
    case 'E':
      return static_cast<short>(number + 200);
    case 'C':
      return static_cast<short>(number + 300);
    case 'J':
      return static_cast<short>(number + 500);
    default:
      return static_cast<short>(number + 600);
  }
}

short SatNumber(const std::string& line, size_t pos) {
  return SatNumber(line.data(), line.size(), pos);
}

short SatNumber(const char* line, size_t len, size_t pos) {
  // Columns beyond the end of the line read as blanks.
  char id[3];
  for (size_t k = 0; k < 3; k++) id[k] = pos + k < len ? line[pos + k] : ' ';
  const char tens = id[1] == ' ' ? '0' : id[1];
  if (tens < '0' || tens > '9' || id[2] < '0' || id[2] > '9') return -1;
  return SatNumber(id[0], (tens - '0') * 10 + (id[2] - '0'));
}

bool ParseEpoch(const std::string& text, mjd& t) {
  std::istringstream is(text);
  long y = 0, mo = 0, d = 0, h = 0, mi = 0;
  long double s = -1;
  is >> y >> mo >> d >> h >> mi >> s;
  if (!is) return false;
  if (y >= 0 && y <= 99) y += y > 79 ? 1900 : 2000;
  const bool leap = y % 4 == 0;  // valid for 1901-2099
  const int mdays[12] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 1901 || y > 2099 || mo < 1 || mo > 12 || d < 1 || d > mdays[mo - 1] || h < 0 || h > 23 ||
      mi < 0 || mi > 59 || !(s >= 0) || s >= 60.5L)
    return false;
  // Seconds rounded up to a full minute (59.9999999 written as 60.0) carry over.
  const long double day = h * 3600.0L + mi * 60.0L + s;
  t = ymdhms2mjd(ymdhms(y, mo, d, 0, 0, 0));
  t += day;
  return true;
}

}  // namespace orbittext
