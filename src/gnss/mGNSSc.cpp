#include "gnss/mGNSSc.h"

#include "gnss/SatelliteNumbering.h"

namespace GLONASSc {

matrix<long double> freq(kSlots, 2, 0.0L);
matrix<long double> lamb(kSlots, 2, 0.0L);
matrix<long double> lambWL(kSlots, 1, 0.0L);
matrix<long double> lambNL(kSlots, 1, 0.0L);
matrix<long double> alphaG(kSlots, 2, 0.0L);

void SetFrequency(long double k, short row) {
  freq(row, 0) = freq10 + k * dfreq10;
  freq(row, 1) = freq20 + k * dfreq20;
  for (int j = 0; j < 2; ++j) {
    lamb(row, j) = c / freq(row, j);
    long double ratio = GPSc::freq1 / freq(row, j);
    alphaG(row, j) = ratio * ratio;
  }
  long double l1 = lamb(row, 0), l2 = lamb(row, 1);
  lambWL(row) = l1 * l2 / (l2 - l1);
  lambNL(row) = l1 * l2 / (l2 + l1);
}

long double SatLambda(short sat, int j) {
  long row = sat - 101;
  if (row < 0 || row >= kSlots) return 0.0L;
  return lamb(row, j);
}

}  // namespace GLONASSc

namespace GLC {

long double LCion1 = GPSc::LCion1, LCion2 = GPSc::LCion2;
long double LCwl1 = GPSc::LCwl1, LCwl2 = GPSc::LCwl2;
long double LCnl1 = GPSc::LCnl1, LCnl2 = GPSc::LCnl2;
long double lamb1 = GPSc::lamb1, lamb2 = GPSc::lamb2, lamb5 = GPSc::lamb5;
long double lamb3 = GLONASSc::lamb3, lamb8 = GALILEOc::lamb8;
long double alpha = GPSc::alpha;

namespace {
void Load(long double ion1, long double ion2, long double wl1, long double wl2, long double nl1,
          long double nl2, long double l1, long double l2) {
  LCion1 = ion1;
  LCion2 = ion2;
  LCwl1 = wl1;
  LCwl2 = wl2;
  LCnl1 = nl1;
  LCnl2 = nl2;
  lamb1 = l1;
  lamb2 = l2;
}
}  // namespace

void SetGPS() {
  Load(GPSc::LCion1, GPSc::LCion2, GPSc::LCwl1, GPSc::LCwl2, GPSc::LCnl1, GPSc::LCnl2, GPSc::lamb1,
       GPSc::lamb2);
}

void SetGLONASS(short sat) {
  Load(GLONASSc::LCion1, GLONASSc::LCion2, GLONASSc::LCwl1, GLONASSc::LCwl2, GLONASSc::LCnl1,
       GLONASSc::LCnl2, GLONASSc::SatLambda(sat, 0), GLONASSc::SatLambda(sat, 1));
}

void SetGALILEO() {
  Load(GALILEOc::LCion1, GALILEOc::LCion2, GALILEOc::LCwl1, GALILEOc::LCwl2, GALILEOc::LCnl1,
       GALILEOc::LCnl2, GALILEOc::lamb1, GALILEOc::lamb2);
}

void SetForSatellite(short sat, bool galileoOwn) {
  if (satnum::IsGLONASS(sat))
    SetGLONASS(sat);
  else if (galileoOwn && satnum::IsGALILEO(sat))
    SetGALILEO();
  else
    SetGPS();
}

}  // namespace GLC
