// Geodetic coordinates (latitude, longitude [rad], height [m]) with a time term
// [s]. Wherever an flh is expected, an flht serves with its time term ignored.
#ifndef TERVAN_GNSS_FLHT_H
#define TERVAN_GNSS_FLHT_H

#include <iosfwd>

#include "gnss/flh.h"

class flht : public flh {
 public:
  flht() : dt(0.0L) {}
  // The angles are tested (reported as flht).
  flht(long double F, long double L, long double H, long double T);

  void Set(long double F, long double L, long double H, long double T);
  void SetF(long double F);
  void SetL(long double L);
  long double GetT() const { return dt; }
  void SetT(long double T) { dt = T; }
  flh GetFLH() const { return flh(f, l, h); }

  flht& operator+=(const flht& p);
  flht& operator-=(const flht& p);

  void TestPos() const;
  void TestFi() const;
  void TestLa() const;

 private:
  long double dt;  // time term [s]
};

flht operator+(const flht& a, const flht& b);
flht operator-(const flht& a, const flht& b);
bool operator==(const flht& a, const flht& b);
bool operator!=(const flht& a, const flht& b);

// Reads latitude, longitude (as flh does), height and time term, then tests.
std::istream& operator>>(std::istream& is, flht& p);
// Writes the position as flh does, then the time term by the time settings of xyzns.
std::ostream& operator<<(std::ostream& os, const flht& p);

#endif
