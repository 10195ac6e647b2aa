// Receiver clocks of the BASE and the ROVER from code point positioning, and the
// mean positions that check the header positions.
#ifndef TERVAN_TOOLS_SDIFF_SDSTATIONCLOCKS_H
#define TERVAN_TOOLS_SDIFF_SDSTATIONCLOCKS_H

#include <memory>

#include "sdiff/SdPointPositioning.h"
#include "sdiff/SdReceiverClock.h"

class SdStationClocks : public SdReceiverClock {
 public:
  // A header position further than this from the mean solution is replaced [m].
  static constexpr long double kMaxHeaderOffset = 100.0L;

  SdStationClocks(const SdRinexHeader& base, const SdRinexHeader& rover, SdOrbitSource& orbits,
                  SdDelayModel& delays);
  bool Solve(int station, const SdRinexEpoch& epoch, long double& clock) override;

  // The position for the file header of a station: the RINEX header position, or the
  // mean point-positioning solution (with a warning) when the header position is zero
  // or more than 100 m from it.
  void HeaderPosition(int station, const std::string& name, long double xyz[3]) const;
  long Solutions(int station) const { return pp_[station]->Solutions(); }

 private:
  std::unique_ptr<SdPointPositioning> pp_[2];
};

#endif
