// Source of the receiver clock offsets written into the epoch lines.
#ifndef TERVAN_TOOLS_SDIFF_RECEIVERCLOCK_H
#define TERVAN_TOOLS_SDIFF_RECEIVERCLOCK_H

#include "sdiff/RinexReader.h"

class ReceiverClock {
 public:
  virtual ~ReceiverClock() = default;
  // Receiver clock offset [s] of one epoch of a station (0 BASE, 1 ROVER); false
  // when the epoch has no solution.
  virtual bool Solve(int station, const RinexEpoch& epoch, long double& clock) = 0;
};

#endif
