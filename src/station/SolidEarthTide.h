// Solid earth tide displacement of a station after the IERS Conventions (2010):
// in-phase degree 2 and 3 terms with their out-of-phase and latitude corrections
// (step 1), and the frequency dependence of the Love numbers in the diurnal and
// long-period bands (step 2). The result is the conventional tide-free
// displacement; the permanent tide is neither added nor removed.
//
// Per epoch the caller gives the Sun and Moon (Earth-fixed unit vectors and
// distances in metres), then per station its position and asks for the
// displacement (metres, Earth-fixed Cartesian).
#ifndef TERVAN_STATION_SOLIDEARTHTIDE_H
#define TERVAN_STATION_SOLIDEARTHTIDE_H

#include "core/matrix.h"
#include "gnss/mjd.h"
#include "gnss/xyz.h"
#include "orbits/LuniSolarPosition.h"

class SolidEarthTide {
 public:
  SolidEarthTide();

  // Earth-fixed unit vectors and geocentric distances in metres.
  void SetSunPosition(const xyz& unit, long double distance);
  void SetMoonPosition(const xyz& unit, long double distance);
  void SetStaPosition(const xyz& unit, long double distance);

  // Displacement d (m, Earth-fixed) at epoch t (GPS time).
  void GetDisplacement(const mjd& t, xyz& d);

  // The correction steps on their own (m, Earth-fixed), for the station, Sun
  // and Moon set above. fac2sun and fac2mon are the degree-2 scale factors of
  // the Sun and the Moon; T is in Julian centuries (TT) since J2000.0 and fhr
  // the hours of the day.
  xyz ST1IDIU(long double fac2sun, long double fac2mon);
  xyz ST1ISEM(long double fac2sun, long double fac2mon);
  xyz ST1L1(long double fac2sun, long double fac2mon);
  xyz STEP2DIU(long double T, long double fhr);
  xyz STEP2LON(long double T);

  // Julian centuries (TT) since J2000.0 of a GPS-time epoch.
  static long double Centuries(const mjd& t);

 private:
  // Local radial/north/east to Earth-fixed at the station.
  xyz LocalToGlobal(long double dr, long double dn, long double de) const;
  // In-phase step-1 part of one body.
  xyz Step1Body(const xyz& body, long double fac2, long double fac3, long double h2,
                long double l2) const;

  LuniSolarPosition lst;
  long double RSUN, RMON, RSTA;  // geocentric distances (m)
  xyz XSUN, XMON, XSTA;          // Earth-fixed unit vectors
  xyz DXCOR;                     // result of the last correction step (m)
  long double H20, L20, H3, L3;  // nominal Love and Shida numbers
  long double MASS_RATIO_SUN, MASS_RATIO_MOON;
  long double RE;                            // Earth's equatorial radius (m)
  long double SINPHI, COSPHI, SINLA, COSLA;  // geocentric latitude and longitude of the station
  long double DHI, DLI, L1D, L1SD;
  long double FAC2SUN, FAC2MON, FAC3SUN, FAC3MON;
  long double T;               // Julian centuries (TT) of the epoch
  matrix<long double> DATDIU;  // 31 x 9 diurnal band corrections
  matrix<long double> DATLON;  // 5 x 9 long-period band corrections
  long double twopi;
};

#endif
