// Geodetic coordinates: latitude and longitude [rad] and ellipsoidal height [m].
#ifndef TERVAN_GNSS_FLH_H
#define TERVAN_GNSS_FLH_H

#include <iosfwd>
#include <string>

// Print settings of flh output and the unit of flh input (global).
namespace flhns {
enum { RAD = 0, DEG = 1, DMS = 2, DMSV = 3, SINEX = 4 };
inline short NDecFL = 8;
inline short NDecH = 4;
inline short WidthFL = 12;
inline short WidthH = 10;
inline short Unit = RAD;
}  // namespace flhns

class flh {
 public:
  // Zero latitude, longitude and height; not tested.
  flh() : f(0.0L), l(0.0L), h(0.0L) {}
  // Latitude, longitude [rad], height [m]; the angles are tested.
  flh(long double F, long double L, long double H);

  void Set(long double F, long double L, long double H);
  long double GetF() const { return f; }
  long double GetL() const { return l; }
  long double GetH() const { return h; }
  void SetF(long double F);
  void SetL(long double L);
  void SetH(long double H) { h = H; }

  flh& operator+=(const flh& p);
  flh& operator-=(const flh& p);

  // Latitude within [-90, 90] and longitude within [-180, 180], compared with the
  // stored radians: only absurd values (and NaN) fail.
  void TestPos() const;
  void TestFi() const;
  void TestLa() const;

 protected:
  // Tests reporting under the name of the class that holds the values.
  void TestFi(const std::string& cls) const;
  void TestLa(const std::string& cls) const;

  long double f;  // geodetic latitude [rad]
  long double l;  // longitude [rad]
  long double h;  // ellipsoidal height [m]
};

flh operator+(const flh& a, const flh& b);
flh operator-(const flh& a, const flh& b);
// Equal when every component differs by less than 1e-14.
bool operator==(const flh& a, const flh& b);
bool operator!=(const flh& a, const flh& b);

// Reads latitude, longitude (in the unit of flhns::Unit: radians, degrees, packed
// DDD.MMSS, or degrees, minutes and seconds for each angle) and the height [m],
// then tests the angles. A failed read leaves the value unchanged.
std::istream& operator>>(std::istream& is, flh& p);
// Writes latitude, longitude and height by the settings of flhns.
std::ostream& operator<<(std::ostream& os, const flh& p);

// The pieces of flh stream input and output shared with flht.
namespace flhio {
// Reads one angle in the unit of flhns::Unit and gives it in radians.
bool ReadAngle(std::istream& is, long double& rad);
void Write(std::ostream& os, long double f, long double l, long double h);
}  // namespace flhio

#endif
