// Fast search of the ambiguity (arc) an observation belongs to.
//
// Built once from an ambiguity list (satellite per arc and the epoch range
// AI(k,0) .. AI(k,2) of each arc); a lookup costs a binary search over the arcs
// of one satellite. The answer is the same as that of the linear search: the
// smallest k whose satellite matches and whose epoch range holds the epoch, -1
// when there is none. Rebuild it whenever the list changes.
#ifndef TERVAN_SDIFF_AMBLOOKUP_H
#define TERVAN_SDIFF_AMBLOOKUP_H

#include <vector>

#include "core/matrix.h"

class AmbLookup {
 public:
  AmbLookup() = default;
  AmbLookup(const matrix<long>& AI, const matrix<short>& AP, long namb) { Build(AI, AP, namb); }
  void Build(const matrix<long>& AI, const matrix<short>& AP, long namb);
  // Ambiguity of satellite prn at epoch index ieph; -1 when there is none.
  long Find(short prn, long ieph) const;
  long Size() const { return namb_; }

 private:
  struct Segment {  // epochs first .. last covered by ambiguity amb (the smallest such k)
    long first, last, amb;
  };
  std::vector<std::vector<Segment>> bySat_;  // indexed by satellite number
  long namb_ = 0;
};

#endif
