// Niell (1996) mapping functions: coefficients tabulated at latitudes 15, 30, 45, 60 and 75
// degrees and interpolated linearly in latitude, a seasonal hydrostatic term (largest in the
// winter of the station's hemisphere) and a hydrostatic height correction.
#ifndef TERVAN_ATMOSPHERE_GMF_NIELL_H
#define TERVAN_ATMOSPHERE_GMF_NIELL_H

class gMF_Niell {
 public:
  gMF_Niell();
  // lat: geodetic latitude [rad] (its sign picks the hemisphere of the seasonal term);
  // h: ellipsoidal height [m] (not used here).
  void SetAtmParams(long double lat, long double h);
  // mjday: integer MJD day; h: ellipsoidal height [m]; E: elevation [rad].
  void GetMappFunction(long mjday, long double h, long double E, long double& mfdry,
                       long double& mfwet);
  // The same from the sine of the elevation, sinE = sin(E).
  void GetMappFunctionSin(long mjday, long double h, long double sinE, long double& mfdry,
                          long double& mfwet);

  int GetRow() const { return ix; }

 private:
  long double fiNiell;  // table spacing, 15 degrees [rad]
  long double adavg[5], bdavg[5], cdavg[5];
  long double adamp[5], bdamp[5], cdamp[5];
  long double adht, bdht, cdht;
  long double awpov[5], bwpov[5], cwpov[5];
  int ix;      // first of the two table rows interpolated
  bool south;  // southern hemisphere: the seasonal term is shifted by half a year
  long double ad1, ad2, aw, ad, bd1, bd2, bw, bd, cd1, cd2, cw, cd;
  // The seasonal cosine of the last day and hemisphere asked for: every observation
  // of a day shares it.
  bool seasonSet = false;
  long seasonDay = 0;
  bool seasonSouth = false;
  long double seasonCos = 0.0L;
};

#endif
