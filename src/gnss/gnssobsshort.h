// An observation value without flags (Doppler). Missing when |obs| < 1e-5.
#ifndef TERVAN_GNSS_GNSSOBSSHORT_H
#define TERVAN_GNSS_GNSSOBSSHORT_H

#include <iosfwd>

namespace gnssobsshortns {
enum { RINEX = 0, NORINEX = 1, NOLLISSI = 2 };
extern short PrintType;  // default NORINEX
extern short Width;      // default 14, used by NOLLISSI
}  // namespace gnssobsshortns

class gnssobsshort {
 public:
  gnssobsshort() = default;
  explicit gnssobsshort(long double value) : obs(value) {}

  gnssobsshort& operator=(long double value) {
    obs = value;
    return *this;
  }
  gnssobsshort& operator+=(long double value) {
    obs += value;
    return *this;
  }

  long double GetObs() const { return obs; }
  void SetObs(long double value) { obs = value; }
  bool IsNull() const { return obs < 1e-5L && obs > -1e-5L; }

  // Parses the value from the first 14 characters of a RINEX field; false, with
  // the value missing, when they hold something other than a number.
  bool operator>>(const char* field);

 private:
  long double obs = 0;
};

gnssobsshort operator*(long double k, const gnssobsshort& o);
gnssobsshort operator*(const gnssobsshort& o, long double k);
// A missing operand makes the result missing (0).
gnssobsshort operator+(const gnssobsshort& a, const gnssobsshort& b);
gnssobsshort operator-(const gnssobsshort& a, const gnssobsshort& b);

std::ostream& operator<<(std::ostream& os, const gnssobsshort& o);

#endif
