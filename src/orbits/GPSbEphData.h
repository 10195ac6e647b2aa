// Records of a GPS or Galileo navigation file: 28 values per record in file
// order (clock a0 a1 a2, IODE, Crs, dn, M0, Cuc, e, Cus, sqrtA, Toe, Cic, Omega0,
// Cis, i0, Crc, omega, OmegaDot, IDOT, L2 codes, week, L2P flag, accuracy,
// health, TGD (Galileo: BGD E5a/E1), IODC (Galileo: BGD E5b/E1), transmission time).
#ifndef TERVAN_ORBITS_GPSBEPHDATA_H
#define TERVAN_ORBITS_GPSBEPHDATA_H

#include "orbits/NavData.h"

class GPSbEphData : public NavData<28> {};

#endif
