#include "gnss/GNSSSatBasis.h"

void GNSSSatBasis(xyz& Xv, xyz& Yv, xyz& Zv, const xyzt& satellite, const xyz& sun) {
  Zv = satellite.GetUnitVector(-1.0L);
  const xyz toSun = (sun - satellite).GetUnitVector();
  Yv = CrossP(Zv, toSun).GetUnitVector();
  Xv = CrossP(Yv, Zv).GetUnitVector();
}
