// The delay models of the point positioning: Saastamoinen zenith delays of the
// standard atmosphere with the Niell mapping functions, and the Klobuchar ionosphere
// with the coefficients of a GPS navigation header (RINEX 2 "ION ALPHA/BETA" or
// RINEX 3 "IONOSPHERIC CORR" GPSA/GPSB).
#ifndef TERVAN_TOOLS_SDIFF_STANDARDDELAYS_H
#define TERVAN_TOOLS_SDIFF_STANDARDDELAYS_H

#include <string>
#include <vector>

#include "atmosphere/IonKlobuchar.h"
#include "atmosphere/gMF_Niell.h"
#include "atmosphere/gTM_Saastamoinen.h"
#include "sdiff/OrbitSource.h"

class StandardDelays : public DelayModel {
 public:
  // Takes the Klobuchar coefficients from the first of the navigation files that has
  // them (plain text files; none: no ionosphere model).
  explicit StandardDelays(const std::vector<std::string>& navFiles);

  long double Troposphere(long double lat, long double height, long double elevation,
                          long mjdDay) override;
  bool HasIonosphere() const override { return hasIono_; }
  long double IonosphereL1(long double lat, long double lon, long double elevation,
                           long double azimuth, long double secondOfDay) override;

 private:
  bool ReadKlobuchar(const std::string& path);

  gTM_Saastamoinen saast_;
  gMF_Niell niell_;
  long double lat_ = -99.0L, height_ = -1e9L;
  long double zdry_ = 0.0L, zwet_ = 0.0L;
  IonKlobuchar klobuchar_;
  bool hasIono_ = false;
};

#endif
