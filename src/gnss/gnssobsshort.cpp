#include "gnss/gnssobsshort.h"

#include <iomanip>
#include <ostream>

#include "core/StreamFormatGuard.h"
#include "gnss/gnssobs.h"

namespace gnssobsshortns {
short PrintType = NORINEX;
short Width = 14;
}  // namespace gnssobsshortns

bool gnssobsshort::operator>>(const char* field) {
  long double value;
  const bool ok = ParseRinexValue(field, value);
  obs = value;
  return ok;
}

gnssobsshort operator*(long double k, const gnssobsshort& o) {
  return gnssobsshort(k * o.GetObs());
}

gnssobsshort operator*(const gnssobsshort& o, long double k) {
  return k * o;
}

gnssobsshort operator+(const gnssobsshort& a, const gnssobsshort& b) {
  if (a.IsNull() || b.IsNull()) return gnssobsshort();
  return gnssobsshort(a.GetObs() + b.GetObs());
}

gnssobsshort operator-(const gnssobsshort& a, const gnssobsshort& b) {
  if (a.IsNull() || b.IsNull()) return gnssobsshort();
  return gnssobsshort(a.GetObs() - b.GetObs());
}

std::ostream& operator<<(std::ostream& os, const gnssobsshort& o) {
  StreamFormatGuard guard(os);
  os << std::fixed << std::setprecision(3) << std::right;
  switch (gnssobsshortns::PrintType) {
    case gnssobsshortns::RINEX:
      os << std::setw(14) << o.GetObs() << "  ";
      break;
    case gnssobsshortns::NOLLISSI:
      os << std::setw(gnssobsshortns::Width) << o.GetObs();
      break;
    default:
      if (o.IsNull())
        os << std::setw(10) << "*.***"
           << " * *";
      else
        os << std::setw(10) << o.GetObs() << " 0 0";
      break;
  }
  return os;
}
