// Ocean tide loading displacement of a station from the coefficients of a BLQ
// file: the amplitudes and phases of the 11 main tides are turned into an
// admittance, interpolated in frequency with a cubic spline to 342 tidal
// constituents and summed at the epoch (the HARDISP algorithm of the IERS
// Conventions 2010).
#ifndef TERVAN_STATION_OCEANTIDELOADING_H
#define TERVAN_STATION_OCEANTIDELOADING_H

#include <iosfwd>
#include <string>

#include "core/matrix.h"
#include "gnss/mjd.h"
#include "gnss/neu.h"
#include "station/otlData.h"

class OceanTideLoading {
 public:
  OceanTideLoading();

  void SetFile(const char* name);
  // Reads every station block; a file without "$$ END HEADER" or with a
  // truncated or malformed block ends the run.
  void ReadFile();
  long GetNStation() const { return nstation; }
  const otlData& GetStation(long i) const { return OTL(i); }

  // Selects the station whose name equals name exactly; otherwise warns and
  // gives zero displacements.
  void SetStation(const char* name);
  long GetStationIndex() const { return ixOTide; }

  // Displacement (m, north/east/up) of the selected station at epoch t (GPS time).
  void GetDisplacement(const mjd& t, neu& d);

  // Doodson argument phases (degrees) and rates (cycles per day) at epoch t.
  void SetDoodsonPhasFreq(const mjd& t);
  // Frequency (cycles per day) and phase (degrees, [0, 360)) of the constituent
  // with the Doodson multipliers idd, for the arguments of the last
  // SetDoodsonPhasFreq.
  void TDFRPH(const int idd[6], long double& freq, long double& phase) const;

 private:
  [[noreturn]] void Unreadable() const;
  [[noreturn]] void Corrupted() const;
  // One station block of the file as text.
  struct BlqBlock {
    std::string name;      // trimmed station name
    std::string position;  // comment line with "lon/lat"
    std::string data[6];   // amplitude and phase lines
    bool truncated;        // the file ended inside the block
  };
  // The next block; false at "$$ END TABLE" or at the end of the file.
  static bool NextBlock(std::istream& in, BlqBlock& b);
  long CountStations();
  void ParseBlock(const BlqBlock& b, otlData& d);
  // Admittance of one tidal band: frequencies of its input tides, real and
  // imaginary parts and the spline second derivatives of both.
  struct Band {
    matrix<long double> x, re, im, sre, sim;
    void Fit();
    // The admittance at frequency f (end values outside the band's tides).
    void At(long double f, long double& r, long double& i) const;
  };
  // Frequencies and argument phases of the 342 constituents at the epoch.
  void SetArguments();
  // Admittance at the input tides of the current component; their number.
  long InputAdmittance();
  void FitBands(long n, Band band[3]);
  // Admittance interpolation of one component (input in AMP, PHS) to the 342
  // constituents: amplitudes (m), phases (degrees).
  void ADMINT(matrix<long double>& amp, matrix<long double>& phs);
  // Harmonic sum of the constituents at the epoch.
  long double RECURS(const matrix<long double>& amp, const matrix<long double>& phs,
                     matrix<long double>& hc);

  char file[512];
  long nstation;
  long ixOTide;  // selected station, -1 for none
  matrix<otlData> OTL;
  int IDT[6][11];                     // Doodson multipliers of the 11 BLQ tides
  matrix<long double> AMP, PHS;       // 11 x 1, the current component's input
  matrix<long double> AZ, AW, AS;     // 342 amplitudes: radial, west, south (m)
  matrix<long double> F;              // 342 frequencies (cycles per day)
  matrix<long double> PZ, PW, PS;     // 342 phases (degrees)
  matrix<long double> HCZ, HCS, HCW;  // 342 x 2 harmonic coefficients
  matrix<long double> SCR;
  long double TAMP[342];            // equilibrium amplitudes of the constituents
  int IDD[6][342];                  // their Doodson multipliers
  matrix<long double> RL, AIM, RF;  // admittance at the input tides: real, imaginary, frequency
  matrix<long> IXRF;
  matrix<long double> ARG;  // 342 argument phases with the species offsets (degrees)
  long ixTide[11];          // row of each BLQ tide in the constituent table
  long double D[6];         // Doodson argument phases at the epoch (degrees)
  long double DD[6];        // their rates (cycles per day)
};

#endif
