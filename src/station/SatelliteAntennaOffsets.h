// Satellite antenna offsets of the antenna calibrations in the form the precise
// orbit takes them to shift its positions to the antenna phase centres.
#ifndef TERVAN_STATION_SATELLITEANTENNAOFFSETS_H
#define TERVAN_STATION_SATELLITEANTENNAOFFSETS_H

#include "orbits/GNSSpEph.h"
#include "station/antex.h"

// Looks satellites up in atx (which must outlive the result); each look-up
// moves the selection of atx to that satellite.
SatelliteOffsetLookup SatelliteAntennaOffsets(antex& atx);

#endif
