#include "station/AntennaPCV.h"

#include <cmath>

namespace {

const long kBelow = -1;
const long kBeyond = 99999;

}  // namespace

AntennaPCV::AntennaPCV()
    : SatID(0),
      PCVType(-1),
      dazi(0),
      zen1(0),
      zen2(0),
      dzen(0),
      nZen(0),
      nAzi(0),
      nFreq(0),
      ixZen(-1),
      ixAzm(-1),
      hasAzimuthPCV(false),
      ValidFrom(44250, 0.0L),
      ValidTo(85000, 0.0L),
      PC_G01(0, 0, 0),
      PC_G02(0, 0, 0),
      PC_R01(0, 0, 0),
      PC_R02(0, 0, 0),
      PC_E01(0, 0, 0),
      PC_E07(0, 0, 0) {
  AntennaName[0] = '\0';
  AntennaSerial[0] = '\0';
}

neu& AntennaPCV::Offset(int f) {
  neu* o[6] = {&PC_G01, &PC_G02, &PC_R01, &PC_R02, &PC_E01, &PC_E07};
  return *o[f];
}
const neu& AntennaPCV::Offset(int f) const {
  return const_cast<AntennaPCV*>(this)->Offset(f);
}

matrix<double>& AntennaPCV::Zenith(int f) {
  matrix<double>* z[6] = {&PVZEN_G01, &PVZEN_G02, &PVZEN_R01, &PVZEN_R02, &PVZEN_E01, &PVZEN_E07};
  return *z[f];
}
const matrix<double>& AntennaPCV::Zenith(int f) const {
  return const_cast<AntennaPCV*>(this)->Zenith(f);
}

matrix<double>& AntennaPCV::Azimuth(int f) {
  matrix<double>* a[6] = {&PVAZI_G01, &PVAZI_G02, &PVAZI_R01, &PVAZI_R02, &PVAZI_E01, &PVAZI_E07};
  return *a[f];
}
const matrix<double>& AntennaPCV::Azimuth(int f) const {
  return const_cast<AntennaPCV*>(this)->Azimuth(f);
}

bool AntennaPCV::SetGrid(double zenith1, double zenith2, double zenithStep, double azimuthStep) {
  if (!(zenithStep > 0) || !(zenith2 >= zenith1) || !(azimuthStep >= 0) || azimuthStep > 360)
    return false;
  // Grids finer than a tenth of a degree in zenith or half a degree in azimuth
  // are no calibration any file holds; they are taken as a damaged file.
  const double nz = std::trunc((zenith2 - zenith1) / zenithStep) + 1;
  if (!(nz >= 1 && nz <= 1801)) return false;
  zen1 = zenith1;
  zen2 = zenith2;
  dzen = zenithStep;
  dazi = azimuthStep;
  nZen = static_cast<long>(nz);
  hasAzimuthPCV = std::fabs(dazi) > 0.0001;
  nAzi = 0;
  if (hasAzimuthPCV) {
    const double na = std::trunc(360.0 / dazi) + 1;
    if (!(na <= 721)) return false;
    nAzi = static_cast<long>(na);
  }
  return true;
}

void AntennaPCV::InheritFrequencies() {
  const int to[5] = {antfreq::G02, antfreq::R01, antfreq::R02, antfreq::E01, antfreq::E07};
  const int from[5] = {antfreq::G01, antfreq::G01, antfreq::G02, antfreq::G01, antfreq::G02};
  for (int i = 0; i < 5; i++) {
    if (Zenith(to[i]).Length() > 1) continue;
    Offset(to[i]) = Offset(from[i]);
    Zenith(to[i]) = Zenith(from[i]);
    if (hasAzimuthPCV) Azimuth(to[i]) = Azimuth(from[i]);
  }
}

long AntennaPCV::ZenithIndex(double z, double& f) const {
  f = 0;
  if (z < zen1 + 0.001) return kBelow;
  if (z > zen2 - 0.001) return kBeyond;
  const long iz = static_cast<long>(std::trunc((z - zen1) / dzen));
  if (iz + 1 >= nZen) return kBeyond;
  f = (z - zen1 - iz * dzen) / dzen;
  return iz;
}

long AntennaPCV::AzimuthIndex(double a, double& g) const {
  g = 0;
  if (a < 0.001) return kBelow;
  if (a > 359.999) return kBeyond;
  const long ia = static_cast<long>(std::trunc(a / dazi));
  if (ia + 1 >= nAzi) return kBeyond;
  g = (a - ia * dazi) / dazi;
  return ia;
}

double AntennaPCV::Variation(int f, double z, double a) {
  // Angles that are no numbers have no grid index; their variation is no number either.
  if (std::isnan(z) || (hasAzimuthPCV && std::isnan(a))) return std::nan("");
  double fz = 0, ga = 0;
  ixZen = ZenithIndex(z, fz);
  const matrix<double>& v = Zenith(f);
  const long lastZ = nZen - 1;
  if (!hasAzimuthPCV || Azimuth(f).NRow() != nAzi || Azimuth(f).NCol() != nZen) {
    if (v.Length() != nZen || nZen == 0) return 0;
    if (ixZen == kBelow) return v(0);
    if (ixZen == kBeyond) return v(lastZ);
    return v(ixZen) + fz * (v(ixZen + 1) - v(ixZen));
  }
  const matrix<double>& m = Azimuth(f);
  ixAzm = AzimuthIndex(a, ga);
  const long iz = ixZen == kBelow ? 0 : ixZen == kBeyond ? lastZ : ixZen;
  const long ia = ixAzm == kBelow ? 0 : ixAzm == kBeyond ? nAzi - 1 : ixAzm;
  const bool zEdge = ixZen == kBelow || ixZen == kBeyond;
  const bool aEdge = ixAzm == kBelow || ixAzm == kBeyond;
  const double c = m(ia, iz);
  if (zEdge && aEdge) return c;
  if (aEdge) return c + fz * (m(ia, iz + 1) - c);
  if (zEdge) return c + ga * (m(ia + 1, iz) - c);
  return c + fz * (m(ia, iz + 1) - c) + ga * (m(ia + 1, iz) - c) +
         fz * ga * (m(ia + 1, iz + 1) - m(ia + 1, iz) - m(ia, iz + 1) + c);
}

void AntennaPCV::GetAntennaPCV(double z, double a, double& g01, double& g02, double& r01,
                               double& r02, double& e01, double& e07) {
  double* out[6] = {&g01, &g02, &r01, &r02, &e01, &e07};
  for (int f = 0; f < 6; f++) {
    *out[f] = 0;
    const bool wanted = IsReceiver() || (IsGPS() && (f == antfreq::G01 || f == antfreq::G02)) ||
                        (IsGLONASS() && (f == antfreq::R01 || f == antfreq::R02)) ||
                        (IsGalileo() && (f == antfreq::E01 || f == antfreq::E07));
    if (wanted) *out[f] = Variation(f, z, a);
  }
}
