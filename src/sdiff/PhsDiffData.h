// All epochs and observation records of a single-difference file in memory, and
// the operations that transform them in place (millisecond jumps, linear
// combinations, arc screening).
//
// The records form one flat sequence in file order: the records of epoch k
// follow those of the earlier epochs, nsat(k) of them. Every per-observation
// matrix of the program is indexed by this record number. Codes and all
// combinations are in metres, phases of the file in cycles.
#ifndef TERVAN_SDIFF_PHSDIFFDATA_H
#define TERVAN_SDIFF_PHSDIFFDATA_H

#include <iosfwd>
#include <vector>

#include "core/matrix.h"
#include "gnss/gnssobs.h"
#include "gnss/gnssobsshort.h"
#include "gnss/mjd.h"
#include "sdiff/AmbArc.h"
#include "sdiff/ArcStepSearch.h"
#include "sdiff/PhsDiffHeader.h"

class LineReader;

class PhsDiffData {
 public:
  explicit PhsDiffData(PhsDiffHeader& head);

  // Record counts found by the reader's first pass.
  void SetNRecords(long nepoch, long nobsall);
  // Sizes the epoch matrices to neph and the matrices of the present types to nobs.
  void SetData();
  // Reads every epoch behind the header (fatal errors on malformed data).
  void Read(LineReader& lr);
  // Record count at the start of an epoch line (0 to 699); the run ends when
  // the line does not begin with one. lineNo is reported with the error.
  static long EpochCount(const char* line, size_t len, long lineNo);

  long GetNEpoch() const { return neph; }
  long GetNObs() const { return nobs; }
  long GetNSat() const { return satList.Length(); }  // distinct satellites
  short GetSat(long i) const { return satList(i); }  // i-th of the distinct satellites
  mjd GetMJD(long i) const { return epoch(i); }
  short GetNSatEpoch(long i) const { return nsat(i); }  // records of epoch i
  short GetRecSat(long r) const { return sat(r); }      // satellite of record r
  PhsDiffHeader& GetHeader() const { return rhead; }

  // A system is present when satList holds one of its satellites and more than
  // a tenth of the records belong to it.
  bool HasGPSObs() const;
  bool HasGLONASSObs() const;
  bool HasGALILEOObs() const;

  // Whole C2 sequence copied into P2 (when the header has C2 but no P2).
  void CopyC2toP2();

  // --- Data operations -------------------------------------------------------
  // Removes receiver-clock millisecond jumps from the phases of every system;
  // returns the number of epochs with a jump (also in nMSJumps).
  long CorrMSJumps(long& nMSJumps);
  void SetLC_PC3();  // ionosphere-free code from C1 and P2 (C7 for Galileo)
  void SetLC_PP3();  // ionosphere-free code from P1 and P2 (C7 for Galileo)
  void SetLC_L3();   // ionosphere-free phase [m]
  void SetLC_L4();   // geometry-free phase [m]
  // Melbourne-Wuebbena with C1 (P1 where C1 is missing) when UseC1, else with P1.
  void SetLC_MW(bool UseC1);

  // The arc list handed to the ambiguity setup (kept in memory).
  void SetAmbFile(const char* name);
  const std::vector<AmbArc>& GetAmbArcs() const { return ambArcs; }
  void ClearAmbArcs() { ambArcs.clear(); }
  // Cuts each satellite's L4 values into arcs without slips and appends them
  // to the arc list. E: elevations per record (column 0 BASE, 1 ROVER); me: the
  // elevation limit in the same unit; t0, dt: L4 thresholds [m]; gap: largest
  // epoch gap inside an arc [s]. NAmb returns the number of arcs added.
  void ScreenL4Linear(matrix<long double>& E, long double me, long MinObs, long double t0,
                      long double dt, long double gap, long& NAmb);
  // Splits the first NAmbAll arcs of the list at Melbourne-Wuebbena level
  // changes when their spread exceeds rms [m]; NAmbAll returns the new count.
  void ScreenMW(long double rms, long MinObsAmb, long& NAmbAll);
  // Splits the arcs of the list at cycle slips both passes above let through
  // (steps of the Melbourne-Wuebbena mean or of a fitted L4, see ArcStepSearch);
  // pieces shorter than MinObsAmb epochs are dropped. NSteps returns the number
  // of splits.
  // gap: largest epoch gap inside an arc [s]; boundaries of touching arcs
  // (split by a pass, not by a gap) are moved to the slip as well.
  void ScreenSteps(long MinObsAmb, long double gap, long& NSteps);
  // Splits the arcs of satellite s before each of the epochs `at` that lies
  // inside one (a slip found by a test outside this class); pieces with fewer
  // than MinObsAmb epochs of the satellite are dropped. NSplits is raised by
  // the number of splits.
  void SplitArcsBefore(short s, const std::vector<long>& at, long MinObsAmb, long& NSplits);
  // Moves the boundary between arc k-1 and arc k of one satellite, which touch
  // (no record of the satellite between them), so that arc k starts at epoch e;
  // false (nothing changed) when they do not touch, either arc would lose all
  // of its epochs or e holds no record of the satellite.
  bool MoveArcStart(size_t k, long e);

  PhsDiffHeader& rhead;
  long neph = 0;          // epochs
  long nobs = 0;          // observation records
  matrix<mjd> epoch;      // epoch of each epoch (GPS time)
  matrix<short> nsat;     // records of each epoch
  matrix<short> sat;      // satellite number of each record
  matrix<short> satList;  // distinct satellite numbers, ascending
  matrix<gnssobs> C1, P1, P2, L1, L2, C5, L5, C2, C7, L7, C8, L8;  // code [m], phase [cycles]
  matrix<gnssobsshort> D1, D2;                                     // Doppler
  matrix<gnssobs> PC1, PC3, PP3, L3, L4, MW, PC4, PP4, LC5, CL1;   // combinations [m]
  matrix<long double> dtR_B;   // clock value of the epoch line [s]
  matrix<long double> clkErB;  // BASE receiver clock error [s]
  matrix<long double> clkErR;  // ROVER receiver clock error [s]
  matrix<short> IsEpochOKG, IsEpochOKR;
  long NBadEphSat = 0, NBadEphObs = 0, NOKEph = 0;
  char AmbFile[512];
  std::vector<AmbArc> ambArcs;

 private:
  matrix<gnssobs>* ObsMatrix(int code);
  matrix<gnssobsshort>* DopplerMatrix(int code);
  void ReadEpochLine(const char* line, size_t len, long ep, long lineNo);
  void SetIntervalAndSatList(const bool* seen);
  template <class Combine>
  void FormGalileo(const matrix<gnssobs>& a, const matrix<gnssobs>& b, matrix<gnssobs>& out,
                   Combine combine);
  void FormPC3(bool useC1, matrix<gnssobs>& out, bool& flag);
  void FormPhaseLC(bool l4, matrix<gnssobs>& out, bool& flag);
  long FirstRecordOf(short s, long ep, long off) const;
  // Record r has a present L4 above the elevation limit me at both stations (E:
  // elevations per record).
  bool L4Seen(const matrix<long double>& E, long double me, long r) const;
  // For each satellite number (column: its first place in satList, -1 unlisted) and
  // epoch k, entry column * neph + k of the result: 0 without a record, 2 when its
  // first record of the epoch is L4Seen, else 1.
  std::vector<unsigned char> L4Qualifying(const matrix<long double>& E, long double me,
                                          const std::vector<long>& off,
                                          std::vector<long>& column) const;
  bool CarrierPair(long r, long double& l1, long double& l2, matrix<gnssobs>*& second);
  bool EpochSteps(long r0, long r1, double& dc1, double& dc2, double& dl1, double& dl2);
  void ScreenOneArc(long MinObs, long double t0, long double dt, long double gap, short s,
                    long first, long last, const std::vector<long>& offset, long& NAmb);
  ArcSeries SeriesOf(short s, long e0, long e1, const std::vector<long>& off,
                     std::vector<long>& ev) const;
  void RefineBoundary(AmbArc& a, AmbArc& b, const std::vector<long>& off, long double gap);
  void SplitArcSteps(const AmbArc& arc, const std::vector<long>& offset, long MinObsAmb,
                     std::vector<AmbArc>& out, long& NSteps);
  void SplitArcMW(const AmbArc& arc, const std::vector<long>& offset, long double rms,
                  long MinObsAmb, std::vector<AmbArc>& out);

  friend std::ostream& operator<<(std::ostream& os, const PhsDiffData& d);
};

// Reads the data behind a header (after SetNRecords).
std::istream& operator>>(std::istream& is, PhsDiffData& d);
// Writes every epoch in the file layout of the header's observation types.
std::ostream& operator<<(std::ostream& os, const PhsDiffData& d);

#endif
