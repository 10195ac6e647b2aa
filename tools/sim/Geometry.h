// Cartesian vectors and geodetic conversions of the simulator (WGS84, metres, radians).
#ifndef TERVAN_SIM_GEOMETRY_H
#define TERVAN_SIM_GEOMETRY_H

#include <cmath>

namespace sim {

// Sine and cosine through double precision: the extended-precision functions of
// the C library reduce every argument beyond pi/4 with a slow exact method, and a
// relative error of 1e-16 is 3 nm on a satellite orbit.
inline long double Sin(long double x) {
  return std::sin(static_cast<double>(x));
}
inline long double Cos(long double x) {
  return std::cos(static_cast<double>(x));
}

struct Vec3 {
  long double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(const Vec3& a, const Vec3& b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(const Vec3& a, const Vec3& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(long double s, const Vec3& a) {
  return {s * a.x, s * a.y, s * a.z};
}
inline long double Dot(const Vec3& a, const Vec3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline long double Norm(const Vec3& a) {
  return std::sqrt(Dot(a, a));
}
inline Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline Vec3 Unit(const Vec3& a) {
  return (1.0L / Norm(a)) * a;
}

// Rotation of a vector about the z axis by the angle a (rad): the coordinates of
// a fixed point in a frame turned by a.
inline Vec3 RotateZ(const Vec3& v, long double a) {
  const long double c = Cos(a), s = Sin(a);
  return {c * v.x + s * v.y, -s * v.x + c * v.y, v.z};
}

// Geodetic latitude, longitude (rad) and ellipsoidal height (m).
struct Geodetic {
  long double lat = 0, lon = 0, h = 0;
};

Vec3 GeodeticToEcef(const Geodetic& g);
Geodetic EcefToGeodetic(const Vec3& r);

// Local north, east, up unit vectors at a geodetic position.
void LocalAxes(const Geodetic& g, Vec3& north, Vec3& east, Vec3& up);

// Elevation and azimuth (rad) of the direction from a station to a point.
void ElevationAzimuth(const Geodetic& station, const Vec3& stationEcef, const Vec3& target,
                      long double& elevation, long double& azimuth);

}  // namespace sim

#endif
