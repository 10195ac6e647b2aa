// Placing a series of epochs (a neighbouring day's orbit or clock file) before and
// after another one, as the orbit and clock readers join consecutive files.
#ifndef TERVAN_ORBITS_SERIESJOIN_H
#define TERVAN_ORBITS_SERIESJOIN_H

#include "core/matrix.h"
#include "gnss/mjd.h"

namespace seriesjoin {

// Epochs closer than this (s) are one epoch of both series.
const long double kSameEpoch = 1e-3L;

enum class Fit { Joins, Gap, NothingNew };

// Counts the epochs of the other series (other, nOther; increasing) before the
// first (before) and after the last (after) of this series (mine, n). Joins when
// the gap at each join is at most one and a half epoch intervals as the two series
// space their epochs next to it, or as their headers give them (interval,
// otherInterval).
Fit Place(const matrix<mjd>& mine, long n, long double interval, const matrix<mjd>& other,
          long nOther, long double otherInterval, long& before, long& after);

}  // namespace seriesjoin

#endif
