// Ionosphere maps of an IONEX file (TEC and RMS, in TEC units) and their evaluation.
#ifndef TERVAN_ATMOSPHERE_IONEXDATA_H
#define TERVAN_ATMOSPHERE_IONEXDATA_H

#include <iosfwd>
#include <string>

#include "atmosphere/IONEXHeader.h"
#include "atmosphere/TEC.h"
#include "core/matrix.h"
#include "gnss/mjd.h"

class IONEXData {
 public:
  explicit IONEXData(IONEXHeader& head);

  // Sizes the maps from the header and reads the TEC maps, then the RMS maps (left at 0
  // when the file holds none).
  void ReadMaps(std::istream& in);

  // Slant ionosphere delay toward a satellite, from the map at the pierce point of the line
  // of sight with the single layer of the file (BASE RADIUS, HGT1): sod seconds of day [s];
  // lat geocentric latitude of the station [deg]; lon its longitude [deg]; elev elevation and
  // azim azimuth of the satellite [deg]; unit 0 metres on the first GPS frequency, any other
  // slant TEC units; type 0 nearest, 1 interpolated, 2 interpolated in rotated maps; kind 0
  // TEC, any other RMS.
  long double CalcIonDelay(long double& sod, long double& lat, long double& lon, long double& elev,
                           long double azim, int& unit, int& type, int& kind);

  long GetNEph() const { return neph; }
  long GetNHgt() const { return nhgt; }
  long GetNLat() const { return nlat; }
  long GetNLon() const { return nlon; }
  const mjd& GetEpoch(long i) const { return EPH(i); }
  // Value of map i at latitude index ilat (0 = last latitude of the file) and longitude
  // index ilon (0 = first longitude) [TEC units].
  long double GetTEC(long i, long ilat, long ilon) const { return TECVAL(i, 0, ilat, ilon); }
  long double GetRMS(long i, long ilat, long ilon) const { return TECRMS(i, 0, ilat, ilon); }

 private:
  long neph, nhgt, nlat, nlon;
  IONEXHeader& ihead;
  matrix<mjd> EPH;
  TEC TECVAL;
  TEC TECRMS;

  void SetDimensions();
  bool ReadMap(std::istream& in, TEC& maps, long imap, const char* start, bool store);
  void ReadRow(std::istream& in, TEC& maps, long imap, long ihgt, long ilat, int expo);
  [[noreturn]] void Corrupt(const std::string& what) const;
  void LongitudeCell(long double lon, long& il1, long double& dla) const;
  long double PiercePoint(long double lat, long double lon, long double elev, long double azim,
                          long double& latp, long double& lonp) const;
  long double Bilinear(const TEC& maps, long imap, long ib1, long double q, long il1,
                       long double p) const;
};

#endif
