// A local north, east, up vector [m] with a time term [s]. Wherever a neu is
// expected, a neut serves with its time term ignored.
#ifndef TERVAN_GNSS_NEUT_H
#define TERVAN_GNSS_NEUT_H

#include <iosfwd>

#include "gnss/neu.h"

class neut : public neu {
 public:
  neut() : dt(0.0L) {}
  neut(long double N, long double E, long double U, long double T) : neu(N, E, U), dt(T) {}
  explicit neut(const neu& p) : neu(p), dt(0.0L) {}

  using neu::Set;
  void Set(long double N, long double E, long double U, long double T) {
    neu::Set(N, E, U);
    dt = T;
  }
  long double GetT() const { return dt; }
  void SetT(long double T) { dt = T; }
  neu GetNEU() const { return neu(n, e, u); }

  // With another neut the time terms combine too; with a neu only the vector.
  using neu::operator+=;
  using neu::operator-=;
  neut& operator+=(const neut& p);
  neut& operator-=(const neut& p);
  neut& operator*=(long double s);
  neut& operator/=(long double s);

 private:
  long double dt;  // time term [s]
};

neut operator+(const neut& a, const neut& b);
neut operator-(const neut& a, const neut& b);
bool operator==(const neut& a, const neut& b);
bool operator!=(const neut& a, const neut& b);

// Reads n, e, u, dt; a failed read leaves the value unchanged and the stream failed.
std::istream& operator>>(std::istream& is, neut& p);
// Writes the vector as neu does, then the time term by the time settings of xyzns.
std::ostream& operator<<(std::ostream& os, const neut& p);

#endif
