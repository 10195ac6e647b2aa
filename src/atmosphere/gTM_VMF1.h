// Zenith hydrostatic and wet delays of a station taken from a VMF1 site file.
#ifndef TERVAN_ATMOSPHERE_GTM_VMF1_H
#define TERVAN_ATMOSPHERE_GTM_VMF1_H

#include "atmosphere/VMF1SiteFile.h"

class gTM_VMF1 : public VMF1SiteFile {
 public:
  gTM_VMF1();
  // Stores the file name and forgets the selected point.
  void SetFile(const char* name);
  // Zenith hydrostatic and wet delays [m] at the epoch x [decimal MJD]; 0 when missing.
  void GetZenithDelay(long double x, long double& tdry, long double& twet) const;
};

#endif
