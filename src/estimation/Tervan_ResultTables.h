// Pieces shared by the results report, the result files and the kinematic
// solution: precisions of unknowns, the observation, code-bias, troposphere and
// ambiguity blocks of the solution as tables, and the derived baseline values.
#ifndef TERVAN_ESTIMATION_TERVAN_RESULTTABLES_H
#define TERVAN_ESTIMATION_TERVAN_RESULTTABLES_H

#include <string>
#include <vector>

#include "driver/TervanC.h"

// Keeps the global print settings of epochs and coordinates that the result stages
// change for their tables, and restores them when the stage ends.
class PrintSettingsGuard {
 public:
  PrintSettingsGuard();
  ~PrintSettingsGuard();
  PrintSettingsGuard(const PrintSettingsGuard&) = delete;
  PrintSettingsGuard& operator=(const PrintSettingsGuard&) = delete;

 private:
  short mjdDec_, ymdhmsDec_, xyzWidth_, xyzDec_;
};

// The static solution has run: its cofactor matrix holds the unknowns.
bool HasStaticSolution(const TervanC& tc);

// A-posteriori variance of unit weight of the static solution [m^2], never negative.
long double S0Squared(const TervanC& tc);
// Observations + constraints + undefined unknowns - unknowns - clocks.
long Redundancy(const TervanC& tc);
// The unknown exists (ix >= 0) and had observations.
bool IsDefined(const TervanC& tc, long ix);
// sqrt(Q(ix,ix) s0^2) [unit of the unknown]; 0 for ix < 0.
long double Precision(const TervanC& tc, long ix);

// "2026-06-15 08:00:30" (the epoch named by errors about the values written for it).
std::string EpochText(const mjd& t);

// Component k (0, 1, 2) of a vector: X, Y, Z or north, east, up.
long double Comp(const xyz& v, int k);
long double Comp(const neu& v, int k);

// "G05", "R12", "E30".
char SatLetter(short prn);
std::string SatLabel(short prn);

// An observation type processed by the solution (switch on, values in the file).
struct ObsTypeInfo {
  const char* accuracyLabel;    // report label of its a-posteriori sigma
  const long double* variance;  // its a-posteriori variance [m^2]
};
std::vector<ObsTypeInfo> ProcessedTypes(const TervanC& tc);

// A code-bias type with unknowns.
struct DcbTypeInfo {
  const char* countLabel;  // "    C1: "
  const char* header;      // "C1 DCB[m +- m]"
  const char* meanLabel;   // "        C1"
  const char* fileLabel;   // "  C1"
  const long* count;
  const matrix<long double>* value;  // per satellite of the list [m]
  const matrix<long>* index;         // unknown per satellite of the list, -1 when none
};
std::vector<DcbTypeInfo> ActiveDcbTypes(const TervanC& tc);
// Satellite k of the list has a code-bias unknown of one of the types.
bool HasCodeBias(const TervanC& tc, const std::vector<DcbTypeInfo>& types, long k);
// " value +-precision" pairs of satellite k (20 characters per type); a type without
// a value leaves its column blank when a later type has one.
std::string CodeBiasPairs(const TervanC& tc, const std::vector<DcbTypeInfo>& types, long k);
long double MeanCodeBiasPrecision(const TervanC& tc, const DcbTypeInfo& t);

// A piece-wise linear troposphere series of one station.
struct TropoSeries {
  long n = 0;
  const matrix<long double>* value = nullptr;  // estimates at the grid epochs [m]
  const matrix<long>* index = nullptr;         // their unknowns
};
struct StationTropo {
  const char* title;  // report subtitle
  const char* name;   // marker name
  flh pos;            // position of the model evaluation
  TropoSeries zenith, east, north;
};
// BASE then ROVER, the stations with estimated zenith delays.
std::vector<StationTropo> EstimatedStations(const TervanC& tc);
// Model dry zenith delay of the station at an epoch [m] (0 without a model).
long double DryZenithDelay(TervanC& tc, const StationTropo& st, const mjd& t);

// A processed phase type with ambiguity unknowns.
struct AmbTypeInfo {
  const char* name;    // "L1", "L2", "L3"
  const char* header;  // report column header
  int phase;           // 1, 2 or 3
  long count;
  long corrected;
  const matrix<long double>* value;  // [m]
  const matrix<long>* index;
};
std::vector<AmbTypeInfo> ProcessedAmbTypes(const TervanC& tc);
long AmbUnknown(const AmbTypeInfo& t, long k);
// Wavelength [m] of the type for the satellite (1 for L3, which stays in metres).
long double AmbUnit(const AmbTypeInfo& t, short prn);
// Mean precision of the defined ambiguities, in the unit of the report rows.
long double MeanAmbPrecision(const TervanC& tc, const AmbTypeInfo& t);

// Values derived from the static solution for the report.
struct StaticDerived {
  long double blength = 0;              // baseline length [m]
  long double blengthSigma = 0;         // its precision [m]
  neu baselineNEU;                      // baseline in north/east/up at the ROVER [m]
  long double sigmaNEU[3] = {0, 0, 0};  // precisions of the ROVER north/east/up [m]
  mjd refEpoch;                         // middle of the data
};
StaticDerived DeriveStatic(const TervanC& tc);

#endif
