// Header of an IONEX file: map layout, epochs and the satellite code biases.
#ifndef TERVAN_ATMOSPHERE_IONEXHEADER_H
#define TERVAN_ATMOSPHERE_IONEXHEADER_H

#include <iosfwd>
#include <string>

#include "core/matrix.h"
#include "gnss/mjd.h"

class IONEXHeader {
 public:
  IONEXHeader();

  // Reads the header from the start of the file; nSat and nStats are the counts of bias
  // lines found by the pre-scan. A file that ends inside the header ends the program.
  void Read(std::istream& in, int nsat, int nstats);

  // Satellite code bias [s] of a satellite number (GPS PRN, GLONASS 100+slot, Galileo
  // 200+PRN); 0 when it is not listed.
  double GetDCB(unsigned short sat) const;

  float GetVersion() const { return version; }
  const char* GetType() const { return type; }
  const char* GetMapFun() const { return MapFun; }
  const mjd& GetFirstEph() const { return firstEph; }
  const mjd& GetLastEph() const { return lastEph; }
  int GetInterval() const { return interval; }
  int GetNMaps() const { return nMaps; }
  int GetNSat() const { return nSat; }
  int GetNStats() const { return nStats; }
  short GetMapDim() const { return MapDim; }
  double GetBaseR() const { return BaseR; }  // [km]
  double GetHgt1() const { return hgt1; }    // [km]
  double GetHgt2() const { return hgt2; }
  double GetDHgt() const { return dhgt; }
  double GetLat1() const { return lat1; }  // [deg]
  double GetLat2() const { return lat2; }
  double GetDLat() const { return dlat; }
  double GetLon1() const { return lon1; }  // [deg]
  double GetLon2() const { return lon2; }
  double GetDLon() const { return dlon; }
  int GetExponent() const { return exponent; }

 private:
  float version;
  char type[20];
  char pgm[21];
  char runby[21];
  char date[20];
  char MapFun[6];
  char ObsUsed[80];
  mjd firstEph, lastEph;
  int interval;  // seconds between maps
  int nMaps;
  int nStats;
  int nSat;
  short MapDim;
  float ElevCutOff;         // [deg]
  double BaseR;             // [km]
  double hgt1, hgt2, dhgt;  // [km]
  double lat1, lat2, dlat;  // [deg]
  double lon1, lon2, dlon;  // [deg]
  int exponent;
  matrix<unsigned short> Sat;  // satellite numbers
  matrix<double> SatDCB;       // code bias and its RMS [s]

  // Handles one header line; true when the label section ends with it.
  bool ReadLabel(const std::string& line);
  void ReadBiases(std::istream& in);
};

#endif
