// Epoch matching and single differences of a BASE and a ROVER observation file.
//
// Epochs are matched on their nominal second (the tag rounded to the whole second);
// a tag further than the tolerance from its nominal second is not matched. Every
// record is ROVER minus BASE of one satellite observed at both stations, codes in
// metres and phases in cycles, each type formed from the same RINEX code at both
// stations (the code of the previous epoch is kept while both stations have it), or
// from the one pair of codes of different tracking attributes that ObsMapping
// chooses for a system when the stations share no code of the type.
#ifndef TERVAN_TOOLS_SDIFF_DIFFER_H
#define TERVAN_TOOLS_SDIFF_DIFFER_H

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "sdiff/DiffWriter.h"
#include "sdiff/ReceiverClock.h"
#include "sdiff/RinexReader.h"

struct DiffOptions {
  long interval = 0;                  // decimation interval [s], 0 for every common epoch
  long double tagTolerance = 0.001L;  // largest tag offset from the nominal second [s]
  bool progress = false;              // progress lines on standard error
};

// What one satellite system gave.
struct SystemStats {
  long records = 0;                      // records written
  bool atBase = false, atRover = false;  // satellites of the system seen in the file
  // Codes used, per single-difference type (sdmap::Type): "C1C" where both stations
  // share it, "C1C/C1X" (BASE/ROVER) across tracking attributes.
  std::set<std::pair<int, std::string>> codes;
};

struct DiffStats {
  long epochs = 0, records = 0;
  std::set<short> satellites;
  long onlyBase = 0, onlyRover = 0;     // epochs of one station only
  long tagOffset = 0;                   // common epochs with a tag beyond the tolerance
  long noCommon = 0;                    // common epochs without a common satellite
  long decimated = 0;                   // common epochs left out by the interval
  long noClock = 0;                     // epochs without a receiver clock solution
  std::map<char, SystemStats> systems;  // per system letter 'G', 'R', 'E'
};

class Differ {
 public:
  Differ(RinexReader& base, RinexReader& rover, const DiffOptions& options);

  // Single-difference types that both stations can form, in file order.
  const std::vector<int>& Types() const { return types_; }
  // Source of the clock offsets of the epoch lines (none: 0 is written).
  void SetClockSource(ReceiverClock* clock) { clock_ = clock; }

  // Reads both files to the end and writes the common epochs.
  void Run(DiffWriter& writer);
  const DiffStats& Stats() const { return stats_; }

  // Nominal second of an epoch tag (seconds since MJD 0) and the tag's offset from it.
  static long long NominalSecond(const mjd& t, long double& offset);

 private:
  using PairList = std::vector<std::pair<int, int>>;
  // The code pairs of one system and type, their names and whether they were used.
  struct Pairing {
    PairList pairs;
    std::vector<std::string> names;
    std::vector<char> used;
  };
  void SetPairs();
  void NoteUsedPairs();
  void NoteSystems(const RinexEpoch& e, bool base);
  int& LastPair(short sat, size_t type);
  bool Difference(const SatObs& b, const SatObs& r, DiffRecord& rec);
  // Pointers to the satellites of an epoch in the order of their numbers.
  static void SortedSats(const RinexEpoch& e, std::vector<const SatObs*>& sorted);
  void ProcessEpoch(const RinexEpoch& b, const RinexEpoch& r, DiffWriter& writer);
  void Progress(const mjd& t);

  RinexReader& base_;
  RinexReader& rover_;
  DiffOptions options_;
  ReceiverClock* clock_ = nullptr;
  std::vector<int> types_;
  std::map<char, std::vector<Pairing>> pairs_;  // per system, per entry of types_
  long versions_[2] = {-1, -1};                 // type list versions the pairs are for
  // Pair used last per satellite and type entry (index satellite * types + entry), -1
  // for none.
  std::vector<int> lastPair_;
  std::vector<const SatObs*> bs_, rs_;  // satellites of the epoch being differenced
  std::vector<DiffRecord> records_;     // its records
  DiffStats stats_;
  long lastProgressHour_ = -1;
};

#endif
