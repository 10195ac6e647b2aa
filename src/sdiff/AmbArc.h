// One continuous phase arc of a satellite, as found by the screening passes of
// the single-difference data and taken over by the ambiguity setup.
#ifndef TERVAN_SDIFF_AMBARC_H
#define TERVAN_SDIFF_AMBARC_H

#include <cstdint>

struct AmbArc {
  std::int16_t sat = 0;          // satellite number
  std::int32_t firstEpoch = 0;   // index of the first epoch
  std::int32_t firstRecord = 0;  // index of the first record of the first epoch
  std::int32_t lastEpoch = 0;    // index of the last epoch
  std::int32_t nObs = 0;         // number of observations (epochs) of the arc
};

inline bool operator==(const AmbArc& a, const AmbArc& b) {
  return a.sat == b.sat && a.firstEpoch == b.firstEpoch && a.firstRecord == b.firstRecord &&
         a.lastEpoch == b.lastEpoch && a.nObs == b.nObs;
}

#endif
