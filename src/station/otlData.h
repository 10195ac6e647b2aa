// Ocean tide loading coefficients of one station, as one block of a BLQ file:
// amplitudes (m) and phases (degrees, stored with the sign reversed, i.e. as
// phases rather than Greenwich lags) of the 11 main tides
// M2 S2 N2 K2 K1 O1 P1 Q1 Mf Mm Ssa. The components follow the file: u radial
// (up), e tangential east-west (west positive), n tangential north-south
// (south positive).
#ifndef TERVAN_STATION_OTLDATA_H
#define TERVAN_STATION_OTLDATA_H

#include <iosfwd>

#include "core/matrix.h"
#include "gnss/flh.h"
#include "gnss/neu.h"

class otlData {
 public:
  otlData();

  void SetName(const char* name);
  const char* GetName() const { return pt; }

  char pt[64];      // station name, trimmed
  flh gpos;         // longitude, latitude (rad) and height (m) of the block's header line
  matrix<neu> AMP;  // 11 x 1 amplitudes (m)
  matrix<neu> PHS;  // 11 x 1 phases (degrees, = -lag)
};

// Writes the block back in the BLQ layout.
std::ostream& operator<<(std::ostream& os, const otlData& d);

#endif
