// GPT2 model: pressure, temperature, humidity and the VMF1 coefficients a from a global grid
// file with seasonal terms, reduced to the station height and interpolated in the grid cell.
#ifndef TERVAN_ATMOSPHERE_GTM_GPT2_H
#define TERVAN_ATMOSPHERE_GTM_GPT2_H

#include <string>

#include "atmosphere/gpt2_grd.h"
#include "core/matrix.h"

class gTM_GPT2 {
 public:
  gTM_GPT2();

  void SetFile(const char* name);
  // Checks the grid layout, sizes the grids and reads them; a corrupted file ends the program.
  void ReadFile();
  // lat: geodetic latitude [rad]; lon: longitude [rad], any turn; h: ellipsoidal height [m].
  void SetAtmParams(long double lat, long double lon, long double h);
  // Zenith hydrostatic and wet delays [m] on the integer MJD day; keeps the coefficients a.
  void GetZenithDelay(long mjday, long double& tdry, long double& twet);

  long double GetCoeffAH() const { return aH; }
  long double GetCoeffAW() const { return aW; }
  // Station values of the last evaluation: pressure [hPa], temperature [deg C],
  // specific humidity [kg/kg].
  long double GetPressure() const { return p; }
  long double GetTemperature() const { return T; }
  long double GetHumidity() const { return Q; }

  long GetNLon() const { return nL; }
  long GetNLat() const { return nF; }
  // Grid indices (latitude, longitude) of cell corner k = 0..3 and the station longitude
  // brought into the grid's span [deg].
  long GetCorner(int k, int which) const { return IX[k][which]; }
  long double GetCellLon1() const { return L1; }
  long double GetCellLon2() const { return L2; }
  long double GetPointLon() const { return ptL; }

 private:
  char file[1024];
  long nL, nF, nLine;
  long double minF, maxF, minL, maxL, dF, dL;  // grid limits and spacings [deg]
  matrix<gpt2_grd> pG, tG, qG, dtG, aWG, aHG;
  matrix<long double> hN, hH;
  long double gMean;           // [m/s^2]
  long double dMtr;            // molar mass of dry air [kg/mol]
  long double Rg;              // universal gas constant [J/(K mol)]
  long double gPt;             // gravity factor of the station
  long double F1, F2, L1, L2;  // cell latitudes and longitudes [deg]
  long double ptF, ptL, pth;   // station latitude, longitude [deg], height [m]
  long IX[4][2];               // (latitude, longitude) indices of the cell corners
  long double aH, aW;          // VMF1 coefficients a of the last evaluation
  long double p, T, Q;         // station values of the last evaluation

  void CheckLayout();
  void ReadGrid();
  [[noreturn]] void Corrupt(const std::string& what) const;
  void SelectCell();
  long double Interpolate(const long double* corner) const;
};

#endif
