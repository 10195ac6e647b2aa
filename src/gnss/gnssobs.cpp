#include "gnss/gnssobs.h"

#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <ostream>

#include "core/StreamFormatGuard.h"

namespace gnssobsns {
short PrintType = NORINEX;
short Width = 14;
}  // namespace gnssobsns

namespace {

// Flag digit of a RINEX field at position pos; blank, absent or non-digit give 0.
unsigned short FlagDigit(const char* field, size_t len, size_t pos) {
  if (pos >= len) return 0;
  char c = field[pos];
  return (c >= '0' && c <= '9') ? static_cast<unsigned short>(c - '0') : 0;
}

}  // namespace

long double ParseRinexValue(const char* field) {
  char buf[15];
  size_t n = 0;
  while (n < 14 && field[n] != '\0') {
    buf[n] = field[n];
    ++n;
  }
  buf[n] = '\0';
  return std::strtold(buf, nullptr);
}

gnssobs& gnssobs::operator=(long double value) {
  Store(value);
  lli = 0;
  ss = 0;
  return *this;
}

void gnssobs::operator>>(const char* field) {
  size_t len = std::strlen(field);
  Store(ParseRinexValue(field));
  lli = FlagDigit(field, len, 14);
  ss = FlagDigit(field, len, 15);
}

gnssobs operator*(long double k, const gnssobs& o) {
  return gnssobs(k * o.GetObs(), o.GetLLI(), o.GetSS());
}

gnssobs operator*(const gnssobs& o, long double k) {
  return k * o;
}

gnssobs operator+(const gnssobs& a, const gnssobs& b) {
  if (a.IsNull() || b.IsNull()) return gnssobs();
  return gnssobs(a.GetObs() + b.GetObs());
}

gnssobs operator-(const gnssobs& a, const gnssobs& b) {
  if (a.IsNull() || b.IsNull()) return gnssobs();
  return gnssobs(a.GetObs() - b.GetObs());
}

std::ostream& operator<<(std::ostream& os, const gnssobs& o) {
  StreamFormatGuard guard(os);
  os << std::fixed << std::setprecision(3) << std::right;
  long double v = o.GetObs();
  switch (gnssobsns::PrintType) {
    case gnssobsns::RINEX:
      if (v <= 1e-5L && v >= -1e-5L)
        os << std::setw(14) << "0.000"
           << "  ";
      else
        os << std::setw(14) << v << std::setw(1) << o.GetLLI() << std::setw(1) << o.GetSS();
      break;
    case gnssobsns::NOLLISSI:
      if (o.IsNull())
        os << std::setw(gnssobsns::Width) << "*.***";
      else
        os << std::setw(gnssobsns::Width) << v;
      break;
    default:
      if (o.IsNull())
        os << std::setw(14) << "*.***"
           << " * *";
      else
        os << std::setw(14) << v << std::setw(2) << o.GetLLI() << std::setw(2) << o.GetSS();
      break;
  }
  return os;
}
