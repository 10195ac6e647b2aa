// VMF1 mapping functions: coefficients a from a VMF1 site file (or from GPT2), with the
// hydrostatic coefficient c from the day of year and the hemisphere.
#ifndef TERVAN_ATMOSPHERE_GMF_VMF1_H
#define TERVAN_ATMOSPHERE_GMF_VMF1_H

#include "atmosphere/VMF1SiteFile.h"

class gMF_VMF1 : public VMF1SiteFile {
 public:
  gMF_VMF1();

  // Mapping functions with the coefficients a of the site file at the epoch.
  // x: epoch [decimal MJD]; mjday: its integer day; lat [rad]; h: ellipsoidal height [m];
  // E: elevation [rad].
  void GetMappFunction(long double x, long mjday, long double lat, long double h, long double E,
                       long double& mfdry, long double& mfwet);
  // Mapping functions for given coefficients ah, aw.
  void vmf1_ht(long double ah, long double aw, long mjday, long double lat, long double h,
               long double E, long double& mfdry, long double& mfwet);

 private:
  long double bh, c0h, c11h, c10h, phh;
  long double adht, bdht, cdht;
  long double bw, cw;
};

#endif
