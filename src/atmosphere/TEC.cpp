#include "atmosphere/TEC.h"

#include <cstddef>
#include <new>

#include "core/MError.h"

namespace {

const char* const kHeading = "TEC::ERROR:";

void Check(long index, long size, const char* message) {
  if (index < 0 || index >= size) MError::IndexError(kHeading, message, index, size - 1);
}

}  // namespace

void TEC::Resize(long neph, long nhgt, long nlat, long nlon) {
  const long double cells = static_cast<long double>(neph) * nhgt * nlat * nlon;
  // Fifty million values are far beyond any ionosphere map file (a day of 5-minute maps on
  // a 1-degree grid has nineteen million).
  bool ok = neph >= 1 && nhgt >= 1 && nlat >= 1 && nlon >= 1 && cells <= 5.0e7L;
  if (ok) {
    try {
      tec.assign(static_cast<std::size_t>(cells), 0.0L);
    } catch (const std::bad_alloc&) {
      ok = false;
    }
  }
  if (!ok)
    MError::SizeError(kHeading,
                      "Function:   Resize\nTEC dimensions not valid: ", {neph, nhgt, nlat, nlon});
  nEpoch = neph;
  nHght = nhgt;
  nLat = nlat;
  nLon = nlon;
}

long TEC::Index(long iEph, long iHgt, long iLat, long iLon) const {
  if (nEpoch == 0 || nHght == 0 || nLat == 0 || nLon == 0)
    MError::SizeError(kHeading,
                      "Operator:   ()\nTEC object is not set: ", {nEpoch, nHght, nLat, nLon});
  Check(iEph, nEpoch, "Operator:   ()\nEpoch index not in range: ");
  Check(iHgt, nHght, "Operator:   ()\nHeight index not in range: ");
  Check(iLat, nLat, "Operator:   ()\nLatitude index not in range: ");
  Check(iLon, nLon, "Operator:   ()\nLongitude index not in range: ");
  return iLon + nLon * (iHgt + nHght * (iLat + nLat * iEph));
}

long double& TEC::operator()(long iEph, long iHgt, long iLat, long iLon) {
  return tec[Index(iEph, iHgt, iLat, iLon)];
}

long double TEC::operator()(long iEph, long iHgt, long iLat, long iLon) const {
  return tec[Index(iEph, iHgt, iLat, iLon)];
}
