// A vector in the local horizon frame: north, east, up [m].
#ifndef TERVAN_GNSS_NEU_H
#define TERVAN_GNSS_NEU_H

#include <iosfwd>

#include "gnss/xyz.h"

// Print settings of neu output (global, set by the report stages).
namespace neuns {
enum { RINEX = 0, NORINEX = 1 };
inline short NDecNE = 4;
inline short NDecU = 4;
inline short WidthNE = 12;
inline short WidthU = 10;
inline long Unit = xyzns::M;
inline short PrintType = NORINEX;  // RINEX writes up, east, north in width 14 with 4 decimals
}  // namespace neuns

class neu {
 public:
  neu() : n(0.0L), e(0.0L), u(0.0L) {}
  neu(long double N, long double E, long double U) : n(N), e(E), u(U) {}

  void Set(long double N, long double E, long double U) {
    n = N;
    e = E;
    u = U;
  }
  long double GetN() const { return n; }
  long double GetE() const { return e; }
  long double GetU() const { return u; }
  void SetN(long double N) { n = N; }
  void SetE(long double E) { e = E; }
  void SetU(long double U) { u = U; }

  neu& operator+=(const neu& p);
  neu& operator-=(const neu& p);
  neu& operator*=(long double s);
  neu& operator/=(long double s);

  long double GetLength() const;

 protected:
  long double n;  // north [m]
  long double e;  // east [m]
  long double u;  // up [m]
};

neu operator+(const neu& a, const neu& b);
neu operator-(const neu& a, const neu& b);
neu operator*(long double s, const neu& p);
neu operator*(const neu& p, long double s);
// Equal when every component differs by less than 1e-14.
bool operator==(const neu& a, const neu& b);
bool operator!=(const neu& a, const neu& b);
// Component-wise square root.
neu sqrt(const neu& p);

// Reads n, e, u; a failed read leaves the vector unchanged and the stream failed.
std::istream& operator>>(std::istream& is, neu& p);
// Writes the vector by the settings of neuns.
std::ostream& operator<<(std::ostream& os, const neu& p);

#endif
