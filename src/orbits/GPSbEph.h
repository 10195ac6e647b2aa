// Broadcast orbits and clocks of GPS or Galileo satellites from a RINEX navigation
// file (version 2, or version 3 single-system or mixed): record selection,
// Keplerian orbit with clock and relativity, and the light-time solution.
// Satellite numbers are the numbers within the system (PRN).
#ifndef TERVAN_ORBITS_GPSBEPH_H
#define TERVAN_ORBITS_GPSBEPH_H

#include <cstdint>

#include "gnss/gnssobs.h"
#include "gnss/mjd.h"
#include "gnss/xyz.h"
#include "gnss/xyzt.h"
#include "orbits/GPSbEphData.h"
#include "orbits/GPSbEphHeader.h"

class GPSbEph {
 public:
  GPSbEph();

  void SetFile(const char* name);
  // System whose records are taken: 'G' (GPS, default) or 'E' (Galileo).
  void SetSystem(char sys);
  void ReadFile();

  short GetNSat() const { return gdata.GetNSat(); }
  int32_t GetNRecords() const { return nsatall; }
  const GPSbEphHeader& GetHeader() const { return ghead; }
  const GPSbEphData& GetData() const { return gdata; }
  long double GetRelativity() const { return Relativity; }
  char GetSystem() const { return system; }
  bool HasSat(short sat) const { return gdata.HasSat(sat); }

  // Record used for the epoch t: for GPS the nearest, for Galileo the latest whose
  // epoch is not later than t (the first before any); a satellite without records
  // ends the run.
  long GetDataIndex(short sat, const mjd& t);

  // Position (ECEF, m) and clock (s) at the GPS-time epoch t from the record
  // chosen for tindex; the group delay (TGD, Galileo BGD E5b/E1, s) in *tgd.
  void CalcSatPosition(short sat, const mjd& t, const mjd& tindex, xyzt& pos, long double* tgd,
                       unsigned short warn, unsigned short print);
  // Position at the emission of a signal received at t by the receiver; returns
  // the range (m).
  long double CalcSatPosition(short sat, const mjd& t, const mjd& tindex, const xyz& receiver,
                              xyzt& pos, long double* tgd, unsigned short warn,
                              unsigned short print);
  // The same with the travel time from a pseudorange P (m) in one step.
  long double CalcSatPosition(short sat, const mjd& t, const mjd& tindex, const xyz& receiver,
                              xyzt& pos, long double* tgd, unsigned short warn,
                              unsigned short print, const gnssobs& P);

  void PrintParameter(const char* name, long double value) const;

 private:
  void Orbit(const mjd& t, long rec, xyzt& pos, long double* tgd, unsigned short print);
  void CheckInterval(short sat, const mjd& t, long double dt, unsigned short warn) const;
  long double EccentricAnomaly(long double M, long double e) const;

  char navig[512];
  GPSbEphHeader ghead;
  GPSbEphData gdata;
  long double Relativity;
  int32_t nsatall;
  long double GMz;
  long double OMEGAz;
  long double RelK;
  xyzt p0, v0;
  xyz ps;
  mjd ephr;
  char system;
};

#endif
