// Receiver clocks of the BASE and the ROVER from code point positioning, and the
// mean positions that check the header positions.
#ifndef TERVAN_TOOLS_SDIFF_STATIONCLOCKS_H
#define TERVAN_TOOLS_SDIFF_STATIONCLOCKS_H

#include <memory>

#include "sdiff/PointPositioning.h"
#include "sdiff/ReceiverClock.h"

class StationClocks : public ReceiverClock {
 public:
  // A header position further than this from the mean solution is replaced [m].
  static constexpr long double kMaxHeaderOffset = 100.0L;

  StationClocks(const RinexHeader& base, const RinexHeader& rover, OrbitSource& orbits,
                DelayModel& delays);
  bool Solve(int station, const RinexEpoch& epoch, long double& clock) override;

  // The position for the file header of a station: the RINEX header position, or the
  // mean point-positioning solution (with a warning) when the header position is zero
  // or more than 100 m from it.
  void HeaderPosition(int station, const std::string& name, long double xyz[3]) const;
  long Solutions(int station) const { return pp_[station]->Solutions(); }

 private:
  std::unique_ptr<PointPositioning> pp_[2];
};

#endif
