#include "sdiff/AmbLookup.h"

#include <algorithm>

#include "gnss/SatelliteNumbering.h"

namespace {

struct Arc {
  long first, last, amb;
};

}  // namespace

// The arcs of each satellite are cut into elementary epoch segments at every arc
// start and end; each segment keeps the smallest ambiguity covering it, so that
// overlapping arcs (which the setup never produces) still give the first match.
void AmbLookup::Build(const matrix<long>& AI, const matrix<short>& AP, long namb) {
  namb_ = namb;
  bySat_.assign(satnum::kMaxSatNumber + 1, {});
  std::vector<std::vector<Arc>> arcs(satnum::kMaxSatNumber + 1);
  for (long k = 0; k < namb; ++k) {
    short s = AP(k);
    if (s < 0 || s > satnum::kMaxSatNumber || AI(k, 0) > AI(k, 2)) continue;
    arcs[s].push_back({AI(k, 0), AI(k, 2), k});
  }
  for (size_t s = 0; s < arcs.size(); ++s) {
    std::vector<Arc>& a = arcs[s];
    if (a.empty()) continue;
    std::vector<long> cut;  // segment starts
    for (const Arc& x : a) {
      cut.push_back(x.first);
      cut.push_back(x.last + 1);
    }
    std::sort(cut.begin(), cut.end());
    cut.erase(std::unique(cut.begin(), cut.end()), cut.end());
    std::vector<Segment>& seg = bySat_[s];
    for (size_t i = 0; i + 1 < cut.size(); ++i) {
      long best = -1;
      for (const Arc& x : a)
        if (x.first <= cut[i] && cut[i] <= x.last && (best < 0 || x.amb < best)) best = x.amb;
      if (best < 0) continue;
      if (!seg.empty() && seg.back().amb == best && seg.back().last + 1 == cut[i])
        seg.back().last = cut[i + 1] - 1;
      else
        seg.push_back({cut[i], cut[i + 1] - 1, best});
    }
  }
}

long AmbLookup::Find(short prn, long ieph) const {
  if (prn < 0 || static_cast<size_t>(prn) >= bySat_.size()) return -1;
  const std::vector<Segment>& seg = bySat_[prn];
  auto it = std::upper_bound(seg.begin(), seg.end(), ieph,
                             [](long e, const Segment& x) { return e < x.first; });
  if (it == seg.begin()) return -1;
  --it;
  return ieph <= it->last ? it->amb : -1;
}
