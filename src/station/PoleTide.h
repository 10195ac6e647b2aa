// Pole tide: reads an Earth rotation parameter (ERP) file and gives the station
// displacement caused by the polar motion relative to the IERS (2010)
// conventional mean pole.
#ifndef TERVAN_STATION_POLETIDE_H
#define TERVAN_STATION_POLETIDE_H

#include "core/matrix.h"
#include "gnss/flh.h"
#include "gnss/mjd.h"
#include "gnss/neu.h"

class PoleTide {
 public:
  PoleTide();

  void SetFile(const char* name);
  // Reads the whole file; an unreadable file, one without the "MJD" column
  // header or without data lines ends the run.
  void ReadFile();
  long GetNEpoch() const { return neph; }
  short GetVersion() const { return version; }

  void SetCalcEpoch(const mjd& t) { CalcEph = t; }
  // Mean pole (arcsec) at the calculation epoch.
  void SetMeanPole();
  // Pole tide displacement (m, north/east/up) of a station at epoch t.
  void GetPoleTide(const mjd& t, const flh& station, neu& d);

  long double GetXp() const { return xp; }  // interpolated pole (arcsec)
  long double GetYp() const { return yp; }
  long double GetXi() const { return xi; }  // mean pole (arcsec)
  long double GetYi() const { return yi; }
  // ERP values of epoch i: x, y (arcsec), UT1-UTC (s).
  long double GetX(long i) const { return VAL(i, 0); }
  long double GetY(long i) const { return VAL(i, 1); }
  long double GetUT1UTC(long i) const { return VAL(i, 2); }
  const mjd& GetEpoch(long i) const { return eph(i); }

 private:
  [[noreturn]] void Unreadable() const;
  // Counts the data lines and finds the version; returns false without a column header.
  bool ScanFile();
  void InterpolatePole(const mjd& t);

  char file[512];  // as long as the names the command line takes
  long neph;
  short version;
  long nPoleTideData;
  long double PoleM;  // unit of the pole coordinates in the file (arcsec)
  long double Tm;     // unit of UT1-UTC in the file (s)
  mjd CalcEph;
  mjd J2000;
  matrix<long double> VAL;  // neph x 3: x, y (arcsec), UT1-UTC (s)
  matrix<mjd> eph;
  long double xpdata[4], ypdata[4];  // mean-pole polynomial coefficients
  long double xp, yp;                // interpolated pole (arcsec)
  long double xi, yi;                // mean pole (arcsec)
};

#endif
