#include "station/SatelliteAntennaOffsets.h"

SatelliteOffsetLookup SatelliteAntennaOffsets(antex& atx) {
  return [&atx](short sat, const mjd& t, short frequency, neu& offset) {
    atx.SetSatellite(sat, t);
    if (atx.GetAtxIndex() < 0) return false;
    atx.GetAntennaOffset(offset, frequency);
    return true;
  };
}
