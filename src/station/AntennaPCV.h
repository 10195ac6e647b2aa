// Calibration of one antenna from an ANTEX file: phase-centre offsets and
// phase-centre variations of the six kept frequencies (GPS L1/L2, GLONASS
// G1/G2, Galileo E1/E5b; ANTEX codes G01 G02 R01 R02 E01 E07).
//
// Offsets are in metres (north/east/up for receivers, satellite-fixed x/y/z for
// satellites); variations in metres on a zenith (nadir for satellites) grid,
// optionally also in azimuth. Angles are in degrees.
#ifndef TERVAN_STATION_ANTENNAPCV_H
#define TERVAN_STATION_ANTENNAPCV_H

#include "core/matrix.h"
#include "gnss/mjd.h"
#include "gnss/neu.h"

// Frequency indices of the kept calibrations.
namespace antfreq {
enum { G01 = 0, G02 = 1, R01 = 2, R02 = 3, E01 = 4, E07 = 5, NFREQ = 6 };
}

class AntennaPCV {
 public:
  AntennaPCV();

  // Antenna classes: 0 receiver, 1-9 GPS satellite blocks (4-7 the IIR family),
  // 10-13 GLONASS satellites, 14 Galileo satellites.
  bool IsReceiver() const { return PCVType == 0; }
  bool IsGPS() const { return PCVType >= 1 && PCVType <= 9; }
  bool IsGLONASS() const { return PCVType >= 10 && PCVType <= 13; }
  bool IsGalileo() const { return PCVType == 14; }
  bool IsBlockIIR() const { return PCVType >= 4 && PCVType <= 7; }
  bool IsValid(const mjd& t) const { return ValidFrom <= t && t <= ValidTo; }

  // Offset, zenith-only variations and azimuth table of frequency f (antfreq).
  neu& Offset(int f);
  const neu& Offset(int f) const;
  matrix<double>& Zenith(int f);
  const matrix<double>& Zenith(int f) const;
  matrix<double>& Azimuth(int f);
  const matrix<double>& Azimuth(int f) const;

  // Sets the zenith grid and azimuth step; false when the grid is unusable.
  bool SetGrid(double zenith1, double zenith2, double zenithStep, double azimuthStep);

  // A receiver antenna frequency without data takes the calibration of its
  // nearest kept frequency: G02 from G01, R01 from G01, R02 from G02, E01 from
  // G01, E07 from G02.
  void InheritFrequencies();

  // Variations (m) at zenith z and azimuth a (degrees) for the frequencies of
  // the antenna's class; the others are 0.
  void GetAntennaPCV(double z, double a, double& g01, double& g02, double& r01, double& r02,
                     double& e01, double& e07);
  // Variation (m) of one frequency.
  double Variation(int f, double z, double a);

  short SatID;
  char AntennaName[21];
  char AntennaSerial[21];
  short PCVType;
  double dazi;
  double zen1, zen2, dzen;
  long nZen, nAzi;
  int nFreq;
  long ixZen, ixAzm;
  bool hasAzimuthPCV;
  mjd ValidFrom, ValidTo;
  neu PC_G01, PC_G02, PC_R01, PC_R02, PC_E01, PC_E07;
  matrix<double> PVZEN_G01, PVZEN_G02, PVZEN_R01, PVZEN_R02, PVZEN_E01, PVZEN_E07;
  matrix<double> PVAZI_G01, PVAZI_G02, PVAZI_R01, PVAZI_R02, PVAZI_E01, PVAZI_E07;

 private:
  // Zenith node index (-1 below the grid, 99999 beyond it) and fraction.
  long ZenithIndex(double z, double& f) const;
  long AzimuthIndex(double a, double& g) const;
};

#endif
