// Four-dimensional grid of total electron content values: epoch, height, latitude,
// longitude. Every access is checked; a bad index ends the program.
#ifndef TERVAN_ATMOSPHERE_TEC_H
#define TERVAN_ATMOSPHERE_TEC_H

#include <vector>

class TEC {
 public:
  TEC() : nEpoch(0), nHght(0), nLat(0), nLon(0) {}

  // Sizes the grid (contents set to 0); a dimension below 1 or a grid too large for
  // memory ends the program.
  void Resize(long neph, long nhgt, long nlat, long nlon);

  long double& operator()(long iEph, long iHgt, long iLat, long iLon);
  long double operator()(long iEph, long iHgt, long iLat, long iLon) const;

  long NEpoch() const { return nEpoch; }
  long NHght() const { return nHght; }
  long NLat() const { return nLat; }
  long NLon() const { return nLon; }

 private:
  long nEpoch, nHght, nLat, nLon;
  std::vector<long double> tec;

  long Index(long iEph, long iHgt, long iLat, long iLon) const;
};

#endif
