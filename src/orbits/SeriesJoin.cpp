#include "orbits/SeriesJoin.h"

#include <algorithm>

namespace seriesjoin {

Fit Place(const matrix<mjd>& mine, long n, long double interval, const matrix<mjd>& other,
          long nOther, long double otherInterval, long& before, long& after) {
  before = after = 0;
  while (before < nOther && mine(0) - other(before) > kSameEpoch) ++before;
  while (after < nOther - before && other(nOther - 1 - after) - mine(n - 1) > kSameEpoch) ++after;
  if (before == 0 && after == 0) return Fit::NothingNew;
  // Epoch spacing of a series between its epochs i and i + 1 (0 when it has none).
  auto spacing = [](const matrix<mjd>& e, long count, long i) {
    return i < 0 || i + 1 >= count ? 0.0L : e(i + 1) - e(i);
  };
  const long double header = std::max(interval, otherInterval);
  const long double stepBefore =
      std::max({header, spacing(mine, n, 0), spacing(other, nOther, before - 2)});
  const long double stepAfter =
      std::max({header, spacing(mine, n, n - 2), spacing(other, nOther, nOther - after)});
  if (before > 0 && mine(0) - other(before - 1) > 1.5L * stepBefore) return Fit::Gap;
  if (after > 0 && other(nOther - after) - mine(n - 1) > 1.5L * stepAfter) return Fit::Gap;
  return Fit::Joins;
}

}  // namespace seriesjoin
