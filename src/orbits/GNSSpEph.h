// Precise orbits from an SP3 file (versions c and d, several satellite systems):
// Lagrange interpolation of position, velocity and clock, and the light-time
// solution toward a receiver with Earth rotation and the relativistic clock term.
#ifndef TERVAN_ORBITS_GNSSPEPH_H
#define TERVAN_ORBITS_GNSSPEPH_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/matrix.h"
#include "gnss/gnssobs.h"
#include "gnss/mjd.h"
#include "gnss/neu.h"
#include "gnss/xyz.h"
#include "gnss/xyzt.h"
#include "orbits/EmissionState.h"

// Phase-centre offset of a satellite antenna at an epoch for a frequency index of
// the antenna calibrations (0 GPS L1, 2 GLONASS G1): satellite-fixed x, y, z in
// metres, stored as north, east, up; false when the calibrations have none.
using SatelliteOffsetLookup =
    std::function<bool(short sat, const mjd& t, short frequency, neu& offset)>;

class GNSSpEph {
 public:
  GNSSpEph();

  void SetFile(const char* name);
  // A file of the previous or the next day, joined by ReadFile with the file of
  // SetFile into one series, so that the interpolation stays centred on the hours
  // around midnight. Files are joined in the order given; each adds only the
  // epochs before or after the series joined so far. At an epoch that two files
  // share (midnight) the earlier-given file's values are kept (the other file
  // fills only satellites missing there), and a difference above 0.1 m in
  // position or 1 ns in clock is warned of; without a shared epoch, a jump of more
  // than 0.1 m between the files (against the nodes around the join) is warned of. A file that
  // leaves a gap of more than one epoch interval is not joined (warning).
  void AddFile(const char* name);
  void ReadFile();

  int32_t GetNEpoch() const { return nepoch; }
  short GetNSatList() const { return nsat; }
  short GetSat(long i) { return sat(i); }
  short GetSatList(long i) { return satList(i); }
  short GetSatListSig(long i) { return satListSig(i); }
  xyzt GetSatPos(long i) { return sPos(i); }
  xyzt GetSatPosSig(long i) { return sPosSig(i); }
  mjd GetMJD(long i) { return epoch(i); }
  long double GetInterval() const { return interval; }
  long double GetPositionBase() const { return posBase; }
  long double GetClockBase() const { return clkBase; }
  long double GetRelativity() const { return Relativity; }
  char GetVersion() const { return version; }
  bool GetDTisOK() const { return DTisOK; }
  bool GetPSisOK() const { return PSisOK; }
  // Half the number of interpolation nodes of the positions (default 7: 14 nodes).
  void SetNInterpPoints(int n);

  // Interpolated position (ECEF, m), velocity (m/s) and clock (s) at the GPS-time
  // epoch t, without light time.
  void CalcSatPosition(short satno, const mjd& t, xyzt& pos, xyzt& vel);
  // Position at the emission of a signal received at t by the receiver (ECEF, m);
  // returns the range (m), or -1 when the satellite has no usable position.
  long double CalcSatPosition(short satno, const mjd& t, const xyz& receiver, xyzt& pos, xyzt& vel);
  // The same started from the travel time (s, negative; 0 when unknown) of an earlier
  // solution for this satellite and reception epoch; travel receives the new one.
  // kept, when given, holds the emission state of an earlier solution for this
  // satellite and reception epoch: an evaluation at exactly its epoch takes it
  // instead of interpolating, and it receives the state of this solution.
  long double CalcSatPosition(short satno, const mjd& t, const xyz& receiver, xyzt& pos, xyzt& vel,
                              long double& travel, EmissionState* kept = nullptr);
  // The same with the travel time taken from a pseudorange P (m) in one step.
  long double CalcSatPosition(short satno, const mjd& t, const xyz& receiver, xyzt& pos, xyzt& vel,
                              const gnssobs& P);

  // Shifts every stored GPS and GLONASS position from the centre of mass to the
  // antenna phase centre given by lookup (other systems are left alone); with
  // print each epoch's number and epoch go to standard output.
  void ApplyAntennaOffset(const SatelliteOffsetLookup& lookup, bool print);

 private:
  void CountHeader(const std::string& name);
  void ReadHeader(std::istream& in);
  void ReadSatList(const std::string& line, int lineNo);
  void ReadSatSig(const std::string& line, int lineNo, long fileLine);
  void ReadBlocks(std::istream& in);
  mjd ReadEpochLine(const std::string& line);
  void ReadRecord(const std::string& line, long block, long fileLine);
  void CheckSpacing();
  // Reads the file of SetFile alone.
  void ReadOne();
  // Joins the series of other (read alone) before or after this series.
  void Join(const GNSSpEph& other);
  // Satellite list of both series: this one's, then the other's new satellites.
  void JoinSatellites(const GNSSpEph& other);
  // Where two files join without a shared epoch: the records of block k against
  // their interpolation from the nodes on both sides, with a warning naming file
  // when they differ by more than 0.1 m.
  void CheckJoin(long k, const std::string& file);
  // Compares and completes the records of a shared epoch (block) from other's block.
  void MergeSharedEpoch(long block, const GNSSpEph& other, long oblock, int& differing,
                        long double& worst);
  // Lagrange denominators of the uniform windows (Lfact, LfactDT).
  void SetLfact();
  // Index of the satellite in satList, -1 when it is not listed.
  int SatIndex(short satno) const;
  void CheckCoverage(const mjd& t) const;
  // Index of the last node at or before the epoch t (-1 before the first node).
  long NodeAtOrBefore(const mjd& t);
  // Window [first, last] of 2n nodes around the node end (NodeAtOrBefore); false
  // when the window cannot be centred on it (near the ends of the series).
  bool Window(long end, int n, long& first, long& last) const;
  // Lagrange denominators (hours^(nodes-1)) of the nodes of the window [first,
  // last]: the table when the window is a full uniform one, else computed from
  // the node epochs into den.
  const long double* Denominators(long first, long last, const matrix<long double>& table,
                                  long double* den) const;
  // Hours from each node of the window [first, last] to the epoch t.
  void HoursFromNodes(const mjd& t, long first, long last, long double* h) const;
  // Position (m) of satellite index isat at t into pos (clock 0) with the flag PSisOK;
  // end as of NodeAtOrBefore. Keeps in pass what the velocity needs.
  void InterpolatePosition(int isat, const mjd& t, long end, xyzt& pos);
  // Clears DTisOK when a clock node of the window around end is missing; keeps the
  // window in pass.
  void CheckClockNodes(int isat, long end);
  // One evaluation of the light-time solution: position and flags at t, the velocity
  // and the clock left to Complete.
  void EvaluatePosition(int isat, const mjd& t, xyzt& pos);
  // Velocity (m/s) and clock (s, into pos) of the last EvaluatePosition.
  void Complete(xyzt& pos, xyzt& vel) const;
  void InterpolateVelocity(xyzt& vel) const;
  void InterpolateClock(xyzt& pos) const;
  // Position, velocity and clock at t with the flags PSisOK and DTisOK.
  void Interpolate(int isat, const mjd& t, xyzt& pos, xyzt& vel);

  static constexpr int kMaxNodes = 40;  // interpolation nodes on each side are limited to 20
  // What the position pass of the last evaluation formed for its completion.
  struct Pass {
    int isat = 0;
    mjd t;
    long first = 0, last = 0;            // window of the position nodes
    long clockFirst = 0, clockLast = 0;  // window of the clock nodes
    long double h[kMaxNodes];            // hours from each position node to t
    long double prod[kMaxNodes];         // products of the other nodes' hours
    long double den[kMaxNodes];          // Lagrange denominators (hours^(nodes-1))
  };

  char sp3file[512];  // as long as a file name the command line accepts
  char version;
  char flag;
  int32_t nepoch;
  int32_t nSatListLines;
  int32_t nComments;
  short nsat;
  matrix<short> satList;
  matrix<short> satListSig;
  mjd StartEpoch;
  matrix<short> sat;
  matrix<mjd> epoch;
  matrix<xyzt> sPos;
  matrix<xyzt> sPosSig;
  long double interval;
  long double posBase, clkBase;
  int nPtsPos;
  int nPtsTime;
  matrix<long double> Lfact, LfactDT;  // denominators (hours^(2n-1))
  long double OMEGAz;
  long double Relativity;
  xyzt p0, v0;
  xyz ps;
  mjd ephr;
  bool DTisOK;
  bool PSisOK;

  // Node epochs in seconds from the first epoch, and whether they are equally
  // spaced by the header interval (then the precomputed denominators serve).
  matrix<long double> tnode;
  bool uniform;
  matrix<short> satIx;  // satellite number -> index in satList, -1 when not listed
  int32_t headerEpochs;
  long positionLines;                  // position record lines of the file
  std::vector<std::string> joinFiles;  // neighbouring files joined to sp3file
  bool offCentreWarned;                // the off-centre window was warned of
  long lastNode;                       // node found by the last search (a hint)
  Pass pass;
};

#endif
