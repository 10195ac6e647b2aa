// Source of the receiver clock offsets written into the epoch lines.
#ifndef TERVAN_TOOLS_SDIFF_SDRECEIVERCLOCK_H
#define TERVAN_TOOLS_SDIFF_SDRECEIVERCLOCK_H

#include "sdiff/SdRinexReader.h"

class SdReceiverClock {
 public:
  virtual ~SdReceiverClock() = default;
  // Receiver clock offset [s] of one epoch of a station (0 BASE, 1 ROVER); false
  // when the epoch has no solution.
  virtual bool Solve(int station, const SdRinexEpoch& epoch, long double& clock) = 0;
};

#endif
