#include "atmosphere/TEC.h"

#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <new>

namespace {

const char* const kStars = "************************************************************";

void Begin(const char* message) {
  std::cout << '\n' << kStars << '\n' << "TEC::ERROR:" << '\n' << '\t' << message;
}

[[noreturn]] void End() {
  std::cout << kStars << '\n'
            << "Exiting program..."
            << "\n\n";
  std::cout.flush();
  std::cerr.flush();
  std::exit(1);
}

std::ostream& N(long value) {
  return std::cout << std::right << std::setw(5) << value;
}

[[noreturn]] void IndexError(const char* message, long index, long size) {
  Begin(message);
  N(index) << " -> [";
  N(0) << ",";
  N(size - 1) << "]\n\n";
  End();
}

[[noreturn]] void NotSet(long a, long b, long c, long d) {
  Begin("Operator:   ()\nTEC object is not set: ");
  std::cout << " [";
  N(a) << ",";
  N(b) << ",";
  N(c) << ",";
  N(d) << "]\n\n";
  End();
}

}  // namespace

void TEC::Resize(long neph, long nhgt, long nlat, long nlon) {
  const long double cells = static_cast<long double>(neph) * nhgt * nlat * nlon;
  // Fifty million values are far beyond any ionosphere map file (a day of 5-minute maps on
  // a 1-degree grid has nineteen million).
  bool ok = neph >= 1 && nhgt >= 1 && nlat >= 1 && nlon >= 1 && cells <= 5.0e7L;
  if (ok) {
    try {
      tec.assign(static_cast<size_t>(cells), 0.0L);
    } catch (const std::bad_alloc&) {
      ok = false;
    }
  }
  if (!ok) {
    Begin("Function:   Resize\nTEC dimensions not valid: ");
    std::cout << " [";
    N(neph) << ",";
    N(nhgt) << ",";
    N(nlat) << ",";
    N(nlon) << "]\n\n";
    End();
  }
  nEpoch = neph;
  nHght = nhgt;
  nLat = nlat;
  nLon = nlon;
}

long TEC::Index(long iEph, long iHgt, long iLat, long iLon) const {
  if (nEpoch == 0 || nHght == 0 || nLat == 0 || nLon == 0) NotSet(nEpoch, nHght, nLat, nLon);
  if (iEph < 0 || iEph >= nEpoch)
    IndexError("Operator:   ()\nEpoch index not in range: ", iEph, nEpoch);
  if (iHgt < 0 || iHgt >= nHght)
    IndexError("Operator:   ()\nHeight index not in range: ", iHgt, nHght);
  if (iLat < 0 || iLat >= nLat)
    IndexError("Operator:   ()\nLatitude index not in range: ", iLat, nLat);
  if (iLon < 0 || iLon >= nLon)
    IndexError("Operator:   ()\nLongitude index not in range: ", iLon, nLon);
  return iLon + nLon * (iHgt + nHght * (iLat + nLat * iEph));
}

long double& TEC::operator()(long iEph, long iHgt, long iLat, long iLon) {
  return tec[Index(iEph, iHgt, iLat, iLon)];
}

long double TEC::operator()(long iEph, long iHgt, long iLat, long iLon) const {
  return tec[Index(iEph, iHgt, iLat, iLon)];
}
