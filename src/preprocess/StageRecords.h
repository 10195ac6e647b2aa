// Small helpers shared by the preprocessing stages: the walk over the flat record
// sequence of the single differences, the systems a run processes and the
// satellite label of the reports.
#ifndef TERVAN_PREPROCESS_STAGERECORDS_H
#define TERVAN_PREPROCESS_STAGERECORDS_H

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "driver/TervanC.h"

namespace stagerec {

// Index of the first record of every epoch, and the record count behind the last
// epoch (neph + 1 values).
std::vector<long> EpochOffsets(const PhsDiffData& d);

// One observation of a satellite: its epoch and its record (32 bits each, as the
// rows of a matrix: the lists of all satellites hold every record, about 2 million
// on a day at 1 s).
struct SatRecord {
  int32_t epoch;
  int32_t record;
};
// The records of each satellite of the data's satellite list (same order), in
// epoch order.
std::vector<std::vector<SatRecord>> RecordsBySatellite(const PhsDiffData& d);

// True when the satellite belongs to a system the run processes (GPS, GLONASS or
// Galileo with its switch on); other numbers are false.
bool SystemProcessed(const TervanC& tc, short sat);

// Report label of a satellite: the system letter in width 4 and the number
// within the system in width 2 ("   G 5").
void WriteSatLabel(std::ostream& os, short sat);

// Carrier wavelengths [m] of the two frequencies a satellite's corrections act
// on: GPS L1/L2, GLONASS G1/G2 of its slot, Galileo E1/E5b. Zero for other
// numbers and for GLONASS slots without a channel.
void Wavelengths(short sat, long double& lamb1, long double& lamb2);

// Combination factors of a satellite's system: ionosphere-free (LCion1/2) and
// wide-lane (LCwl1/2); GPS values for numbers of other systems.
struct SystemFactors {
  long double ion1, ion2, wl1, wl2;
};
SystemFactors FactorsOf(short sat);

// The per-record geometry of the satellite stage (OKSAT, ELV, SAT_POS) is in place.
bool GeometryReady(const TervanC& tc);

// Computed single difference ROVER - BASE of record r [m]: the geometric ranges
// from the satellite positions to the a-priori stations, less the difference of
// the satellite clocks at the two emission epochs.
long double ComputedRange(const TervanC& tc, long r);

// Writes a verbose detail line "Tervan::<stage>():         <text>" on standard
// error when the run is verbose.
void Detail(const TervanC& tc, const char* stage, const std::string& text);

}  // namespace stagerec

#endif
