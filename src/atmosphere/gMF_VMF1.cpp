#include "atmosphere/gMF_VMF1.h"

#include <cmath>

#include "atmosphere/TropoFormulas.h"

namespace {
const VMF1SiteFile::Usage kCoefficients = {"gMF_VMF1", "ah", "aw"};
}

gMF_VMF1::gMF_VMF1()
    : VMF1SiteFile(kCoefficients),
      bh(0.0029L),
      c0h(0.062L),
      c11h(0.0L),
      c10h(0.0L),
      phh(0.0L),
      adht(2.53e-5L),
      bdht(5.49e-3L),
      cdht(1.14e-3L),
      bw(0.00146L),
      cw(0.04391L) {}

void gMF_VMF1::GetMappFunction(long double x, long mjday, long double lat, long double h,
                               long double E, long double& mfdry, long double& mfwet) {
  vmf1_ht(Interpolate(x, ixH), Interpolate(x, ixW), mjday, lat, h, E, mfdry, mfwet);
}

void gMF_VMF1::vmf1_ht(long double ah, long double aw, long mjday, long double lat, long double h,
                       long double E, long double& mfdry, long double& mfwet) {
  if (lat < 0.0L) {
    phh = tropns::pi;
    c11h = 0.007L;
    c10h = 0.002L;
  } else {
    phh = 0.0L;
    c11h = 0.005L;
    c10h = 0.001L;
  }
  const long double season = 2.0L * tropns::pi * TropSeasonDay(mjday) / 365.25L + phh;
  const long double ch =
      c0h + ((std::cos(season) + 1.0L) * c11h / 2.0L + c10h) * (1.0L - std::cos(lat));
  const long double sE = std::sin(E);
  mfdry = TropMappingFractionSin(sE, ah, bh, ch) + TropHeightCorrectionSin(sE, h, adht, bdht, cdht);
  mfwet = TropMappingFractionSin(sE, aw, bw, cw);
}
