#include "gnss/gnssobs.h"

#include <cstring>
#include <iomanip>
#include <ostream>
#include <string>

#include "core/StreamFormatGuard.h"
#include "core/TextFields.h"

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

bool ParseRinexValue(const char* field, long double& value) {
  value = 0;
  size_t n = 0;
  while (n < 14 && field[n] != '\0') ++n;
  const std::string text(field, n);
  return textfield::FixedField(text, 0, 14, value) != textfield::FieldState::kMalformed;
}

gnssobs& gnssobs::operator=(long double value) {
  Store(value);
  lli = 0;
  ss = 0;
  return *this;
}

bool gnssobs::operator>>(const char* field) {
  size_t len = std::strlen(field);
  long double value;
  const bool ok = ParseRinexValue(field, value);
  Store(value);
  lli = FlagDigit(field, len, 14);
  ss = FlagDigit(field, len, 15);
  return ok;
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
