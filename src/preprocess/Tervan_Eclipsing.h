#ifndef TERVAN_PREPROCESS_TERVAN_ECLIPSING_H
#define TERVAN_PREPROCESS_TERVAN_ECLIPSING_H

#include "driver/TervanC.h"
#include "gnss/xyz.h"

// Removal of the phases of eclipsing satellites: every phase value (L1, L2/L7,
// L3, L4, MW) of an observation whose Sun-satellite-Earth angle lies below
// satEclipsThres becomes missing. Fills EclipsSat, EclipsNObs (one row per
// eclipsing satellite) and NEclipsSat.
void GetEclipsing(TervanC& tc);

// Angle at the satellite between the directions to the Sun and to the Earth's
// centre, folded into 0 to pi/2 [rad]; satellite and Sun positions in ECEF [m].
long double SunEarthAngle(const xyz& satellite, const xyz& sun);

#endif
