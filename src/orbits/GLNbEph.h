// Broadcast orbits and clocks of GLONASS satellites from a RINEX navigation file
// (version 2, or version 3 single-system or mixed): record selection, numerical
// integration of the broadcast state vector with the Earth's oblateness, and the
// light-time solution. Satellite numbers are the slot numbers.
#ifndef TERVAN_ORBITS_GLNBEPH_H
#define TERVAN_ORBITS_GLNBEPH_H

#include <cstdint>

#include "core/matrix.h"
#include "gnss/gnssobs.h"
#include "gnss/mjd.h"
#include "gnss/xyz.h"
#include "gnss/xyzt.h"
#include "orbits/GLNbEphData.h"
#include "orbits/GLNbEphHeader.h"

class GLNbEph {
 public:
  GLNbEph();

  void SetFile(const char* name);
  void ReadFile();

  short GetNSat() const { return rdata.GetNSat(); }
  int32_t GetNRecords() const { return nsatall; }
  const GLNbEphHeader& GetHeader() const { return rhead; }
  const GLNbEphData& GetData() const { return rdata; }
  // Relativistic term taken off the last clock (s): 0, the broadcast GLONASS clock
  // already contains the periodic effect.
  long double GetRelativity() const { return Relativity; }
  bool HasSat(short sat) const { return rdata.HasSat(sat); }
  // Frequency channel number of the record used for the epoch t.
  long double GetFreqChannel(short sat, const mjd& t);

  // Steps of the last integration and the length of its last step (s).
  int GetNSteps() const { return nSteps; }
  long double GetLastStep() const { return lastStep; }

  // Record used for the epoch t (GPS time); a satellite without records ends the run.
  long GetDataIndex(short sat, const mjd& t);

  // Position (ECEF, m), clock (s) and velocity (m/s) at the GPS-time epoch t from
  // the record chosen for tindex.
  void CalcSatPosition(short sat, const mjd& t, const mjd& tindex, xyzt& pos, xyzt& vel,
                       short warn);
  // Position at the emission of a signal received at t by the receiver; returns
  // the range (m).
  long double CalcSatPosition(short sat, const mjd& t, const mjd& tindex, const xyz& receiver,
                              xyzt& pos, xyzt& vel, short warn);
  // The same with the travel time from a pseudorange P (m) in one step.
  long double CalcSatPosition(short sat, const mjd& t, const mjd& tindex, const xyz& receiver,
                              xyzt& pos, xyzt& vel, short warn, const gnssobs& P);

  // Derivative y of the state x (position m, velocity m/s) under the central
  // force, the oblateness term and the constant accelerations ax, ay, az (m/s^2),
  // in the rotating Earth-fixed frame.
  void DiffEqTwoBody(const matrix<long double>& x, long double ax, long double ay, long double az,
                     matrix<long double>& y) const;

  void PrintParameter(const char* name, long double value) const;

 private:
  void Derivative(const long double* x, long double* y, long double ax, long double ay,
                  long double az) const;
  void Integrate(long rec, long double dt);
  void Evaluate(short sat, const mjd& t, long rec, xyzt& pos, xyzt& vel, short warn);

  char navig[512];
  long double diffinterval;  // integration step (s)
  GLNbEphHeader rhead;
  GLNbEphData rdata;
  int32_t nsatall;
  long double GMz;
  long double OMEGAz;
  long double aE;
  long double C20;
  long double Relativity;
  long double x0, y0, z0, vx0, vy0, vz0;  // integrated state (m, m/s)
  long double asx, asy, asz;              // luni-solar accelerations (m/s^2)
  matrix<long double> Xp, Yp, D1, D2, D3, D4, tmp;
  xyzt p0, v0;
  xyz ps;
  mjd ephr;
  int nSteps = 0;
  long double lastStep = 0;
};

#endif
