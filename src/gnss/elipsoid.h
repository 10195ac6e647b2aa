// The reference ellipsoid, chosen by a code of elipsoidns.
#ifndef TERVAN_GNSS_ELIPSOID_H
#define TERVAN_GNSS_ELIPSOID_H

namespace elipsoidns {
enum { GRS80 = 0, WGS84 = 1, PZ90 = 2, BESSEL = 3, SPHERE = 4 };
}  // namespace elipsoidns

class elipsoid {
 public:
  // WGS84.
  elipsoid();
  // The ellipsoid of a code of elipsoidns; any other code ends the program with
  // "Improper ELLIPSOID setting!".
  explicit elipsoid(int code);
  void Set(int code);

  long double GetA() const { return a; }  // semi-major axis [m]
  long double GetF() const { return f; }  // flattening
  long double GetB() const;               // semi-minor axis [m]
  long double GetE() const;               // first eccentricity
  long double GetESQR() const;            // first eccentricity squared
  long double GetE2() const;              // second eccentricity
  long double GetF2() const;              // second flattening (a - b) / b

 private:
  long double a;  // semi-major axis [m]
  long double f;  // flattening
};

#endif
