#include "atmosphere/gMF_Niell.h"

#include <algorithm>
#include <cmath>

#include "atmosphere/TropoFormulas.h"

namespace {
const long double kAdAvg[5] = {1.2769934e-3L, 1.2683230e-3L, 1.2465397e-3L, 1.2196049e-3L,
                               1.2045996e-3L};
const long double kBdAvg[5] = {2.9153695e-3L, 2.9152299e-3L, 2.9288445e-3L, 2.9022565e-3L,
                               2.9024912e-3L};
const long double kCdAvg[5] = {62.610505e-3L, 62.837393e-3L, 63.721774e-3L, 63.824265e-3L,
                               64.258455e-3L};
const long double kAdAmp[5] = {0.0L, 1.2709626e-5L, 2.6523662e-5L, 3.4000452e-5L, 4.1202191e-5L};
const long double kBdAmp[5] = {0.0L, 2.1414979e-5L, 3.0160779e-5L, 7.2562722e-5L, 11.723375e-5L};
const long double kCdAmp[5] = {0.0L, 9.0128400e-5L, 4.3497037e-5L, 84.795348e-5L, 170.37206e-5L};
const long double kAwPov[5] = {5.8021897e-4L, 5.6794847e-4L, 5.8118019e-4L, 5.9727542e-4L,
                               6.1641693e-4L};
const long double kBwPov[5] = {1.4275268e-3L, 1.5138625e-3L, 1.4572752e-3L, 1.5007428e-3L,
                               1.7599082e-3L};
const long double kCwPov[5] = {4.3472961e-2L, 4.6729510e-2L, 4.3908931e-2L, 4.4626982e-2L,
                               5.4736038e-2L};
}  // namespace

gMF_Niell::gMF_Niell()
    : fiNiell(15.0L * tropns::deg),
      adht(2.53e-5L),
      bdht(5.49e-3L),
      cdht(1.14e-3L),
      ix(0),
      south(false) {
  std::copy(kAdAvg, kAdAvg + 5, adavg);
  std::copy(kBdAvg, kBdAvg + 5, bdavg);
  std::copy(kCdAvg, kCdAvg + 5, cdavg);
  std::copy(kAdAmp, kAdAmp + 5, adamp);
  std::copy(kBdAmp, kBdAmp + 5, bdamp);
  std::copy(kCdAmp, kCdAmp + 5, cdamp);
  std::copy(kAwPov, kAwPov + 5, awpov);
  std::copy(kBwPov, kBwPov + 5, bwpov);
  std::copy(kCwPov, kCwPov + 5, cwpov);
  SetAtmParams(0.0L, 0.0L);
}

void gMF_Niell::SetAtmParams(long double lat, long double) {
  // Below 15 degrees and from 75 degrees on the end rows hold unchanged; in between each
  // coefficient is interpolated linearly in latitude between the two rows around it.
  const long double flat = std::fabs(lat);
  int i1 = 0;
  long double w = 0.0L;      // weight of the upper row
  if (!(flat >= fiNiell)) {  // also a latitude that is not a number: no row beyond the table
    i1 = 0;
  } else if (flat >= 5.0L * fiNiell) {
    i1 = 4;
  } else {
    i1 = std::min(3, static_cast<int>(flat / fiNiell) - 1);
    w = flat / fiNiell - 1.0L - i1;
  }
  ix = i1;
  south = lat < 0.0L;
  auto row = [i1, w](const long double* r) {
    return w == 0.0L ? r[i1] : r[i1] + (r[i1 + 1] - r[i1]) * w;
  };
  ad1 = row(adavg);
  bd1 = row(bdavg);
  cd1 = row(cdavg);
  ad2 = row(adamp);
  bd2 = row(bdamp);
  cd2 = row(cdamp);
  aw = row(awpov);
  bw = row(bwpov);
  cw = row(cwpov);
}

void gMF_Niell::GetMappFunction(long mjday, long double h, long double E, long double& mfdry,
                                long double& mfwet) {
  GetMappFunctionSin(mjday, h, std::sin(E), mfdry, mfwet);
}

void gMF_Niell::GetMappFunctionSin(long mjday, long double h, long double sE, long double& mfdry,
                                   long double& mfwet) {
  // The seasonal term peaks in winter: day 28 in the north, half a year later in the south.
  if (!seasonSet || mjday != seasonDay || south != seasonSouth) {
    const long double season = south ? 365.25L / 2.0L : 0.0L;
    seasonCos = std::cos(2.0L * tropns::pi * (TropSeasonDay(mjday) + season) / 365.25L);
    seasonSet = true;
    seasonDay = mjday;
    seasonSouth = south;
  }
  const long double s = seasonCos;
  ad = ad1 - ad2 * s;
  bd = bd1 - bd2 * s;
  cd = cd1 - cd2 * s;
  mfdry = TropMappingFractionSin(sE, ad, bd, cd) + TropHeightCorrectionSin(sE, h, adht, bdht, cdht);
  mfwet = TropMappingFractionSin(sE, aw, bw, cw);
}
