// Records of a navigation file held in memory: epoch, satellite and NVAL values
// per record, the sorted list of satellites, and the per-satellite record index.
#ifndef TERVAN_ORBITS_NAVDATA_H
#define TERVAN_ORBITS_NAVDATA_H

#include <cstdint>
#include <vector>

#include "core/matrix.h"
#include "core/matrixUtil.h"
#include "gnss/mjd.h"
#include "orbits/NavFile.h"

template <int NVAL>
class NavData {
 public:
  void Set(const std::vector<navfile::Record>& records) {
    nsatall = static_cast<int32_t>(records.size());
    mjdo.Resize(nsatall);
    sat.Resize(nsatall);
    data.Resize(nsatall, NVAL);
    for (long i = 0; i < nsatall; i++) {
      mjdo(i) = records[i].epoch;
      sat(i) = records[i].sat;
      for (int k = 0; k < NVAL; k++) data(i, k) = records[i].values[k];
    }
    satList = UniqList(sat);
    index.Build(sat, mjdo);
  }

  int32_t GetNRecords() const { return nsatall; }
  short GetNSat() const { return static_cast<short>(satList.NRow()); }
  short GetSatList(long i) const { return satList(i); }
  short GetSat(long i) const { return sat(i); }
  const mjd& GetEpoch(long i) const { return mjdo(i); }
  long double GetData(long i, int k) const { return data(i, k); }
  bool HasSat(short s) const { return index.Has(s); }
  // Record for the epoch t, -1 when the satellite has none; forward: the latest
  // record not later than t (see navfile::Index).
  long Select(short s, const mjd& t, bool forward = false) const {
    return index.Select(s, t, mjdo, forward);
  }

 protected:
  int32_t nsatall = 0;
  matrix<mjd> mjdo;
  matrix<short> sat;
  matrix<short> satList;
  matrix<long double> data;
  navfile::Index index;
};

#endif
