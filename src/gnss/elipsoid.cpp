#include "gnss/elipsoid.h"

#include <cmath>

#include "core/ProgramError.h"

elipsoid::elipsoid() {
  Set(elipsoidns::WGS84);
}

elipsoid::elipsoid(int code) {
  Set(code);
}

void elipsoid::Set(int code) {
  // The flattening is kept at the precision of its published inverse.
  switch (code) {
    case elipsoidns::GRS80:
      a = 6378137.0L;
      f = 1.0 / 298.257222101;
      break;
    case elipsoidns::WGS84:
      a = 6378137.0L;
      f = 1.0 / 298.257223563;
      break;
    case elipsoidns::PZ90:
      a = 6378136.0L;
      f = 1.0 / 298.257839303;
      break;
    case elipsoidns::BESSEL:
      a = 6377397.155L;
      f = 1.0 / 299.1528128;
      break;
    case elipsoidns::SPHERE:
      a = 6371000.0L;
      f = 0.0L;
      break;
    default:
      ProgramError("Tervan", "Improper ELLIPSOID setting!");
  }
}

long double elipsoid::GetB() const {
  return a * (1.0L - f);
}
long double elipsoid::GetESQR() const {
  return 2.0L * f - f * f;
}
long double elipsoid::GetE() const {
  return std::sqrt(GetESQR());
}
long double elipsoid::GetE2() const {
  return std::sqrt(GetESQR() / (1.0L - GetESQR()));
}
long double elipsoid::GetF2() const {
  return f / (1.0L - f);
}
