#include "sdiff/Differ.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "gnss/SatelliteNumbering.h"
#include "gnss/TimeConverse.h"
#include "gnss/ymdhms.h"
#include "sdiff/ObsMapping.h"
#include "sdiff/Report.h"

namespace {

const char kSystems[] = {'G', 'R', 'E'};
// A tag exactly at the tolerance is accepted despite the rounding of its decimals.
constexpr long double kTagSlack = 1e-9L;

bool BySat(const SatObs* a, const SatObs* b) {
  return a->sat < b->sat;
}

}  // namespace

Differ::Differ(RinexReader& base, RinexReader& rover, const DiffOptions& options)
    : base_(base), rover_(rover), options_(options) {
  for (int t = 0; t < sdmap::kNumTypes; ++t) {
    for (char sys : kSystems) {
      if (!sdmap::Pairs(sys, t, base_.Header().TypesOf(sys), rover_.Header().TypesOf(sys))
               .empty()) {
        types_.push_back(t);
        break;
      }
    }
  }
  if (types_.empty())
    SdError("FILES " + base_.Name() + " AND " + rover_.Name() +
            " HAVE NO OBSERVATION TYPE IN COMMON!");
  SetPairs();
}

void Differ::SetPairs() {
  NoteUsedPairs();
  versions_[0] = base_.Header().typesVersion;
  versions_[1] = rover_.Header().typesVersion;
  lastPair_.clear();
  for (char sys : kSystems) {
    const std::vector<std::string>& b = base_.Header().TypesOf(sys);
    const std::vector<std::string>& r = rover_.Header().TypesOf(sys);
    std::vector<Pairing>& p = pairs_[sys];
    p.clear();
    for (int t : types_) {
      Pairing q;
      q.pairs = sdmap::Pairs(sys, t, b, r);
      for (const auto& [ib, ir] : q.pairs)
        q.names.push_back(b[ib] == r[ir] ? b[ib] : b[ib] + "/" + r[ir]);
      q.used.assign(q.pairs.size(), 0);
      p.push_back(q);
    }
  }
}

void Differ::NoteUsedPairs() {
  for (const auto& [sys, list] : pairs_)
    for (size_t k = 0; k < list.size(); ++k)
      for (size_t i = 0; i < list[k].used.size(); ++i)
        if (list[k].used[i]) stats_.systems[sys].codes.insert({types_[k], list[k].names[i]});
}

void Differ::NoteSystems(const RinexEpoch& e, bool base) {
  for (const SatObs& s : e.sats) {
    SystemStats& st = stats_.systems[satnum::SystemLetter(s.sat)];
    (base ? st.atBase : st.atRover) = true;
  }
}

long long Differ::NominalSecond(const mjd& t, long double& offset) {
  long double sec = t.GetSecond();
  long double whole = std::round(sec);
  offset = sec - whole;
  return static_cast<long long>(t.GetMJDay()) * 86400LL + static_cast<long long>(whole);
}

int& Differ::LastPair(short sat, size_t type) {
  const size_t i = static_cast<size_t>(sat) * types_.size() + type;
  if (i >= lastPair_.size()) lastPair_.resize(i + 1, -1);
  return lastPair_[i];
}

bool Differ::Difference(const SatObs& b, const SatObs& r, DiffRecord& rec) {
  std::vector<Pairing>& pairs = pairs_[satnum::SystemLetter(b.sat)];
  rec.sat = b.sat;
  rec.values.assign(types_.size(), 0.0L);
  bool any = false;
  for (size_t k = 0; k < types_.size(); ++k) {
    const PairList& list = pairs[k].pairs;
    auto usable = [&](int i) {
      const auto& pr = list[i];
      return pr.first < static_cast<int>(b.values.size()) &&
             pr.second < static_cast<int>(r.values.size()) && b.values[pr.first] != 0.0L &&
             r.values[pr.second] != 0.0L;
    };
    int& last = LastPair(b.sat, k);
    int chosen = -1;
    if (last >= 0 && last < static_cast<int>(list.size()) && usable(last)) chosen = last;
    for (int i = 0; chosen < 0 && i < static_cast<int>(list.size()); ++i)
      if (usable(i)) chosen = i;
    if (chosen < 0) continue;
    last = chosen;
    pairs[k].used[chosen] = 1;
    rec.values[k] = r.values[list[chosen].second] - b.values[list[chosen].first];
    any = true;
  }
  return any;
}

void Differ::SortedSats(const RinexEpoch& e, std::vector<const SatObs*>& sorted) {
  sorted.clear();
  for (const SatObs& s : e.sats) sorted.push_back(&s);
  std::sort(sorted.begin(), sorted.end(), BySat);
}

void Differ::ProcessEpoch(const RinexEpoch& b, const RinexEpoch& r, DiffWriter& writer) {
  // Event records may have changed a type list since the last epoch.
  if (versions_[0] != base_.Header().typesVersion || versions_[1] != rover_.Header().typesVersion)
    SetPairs();
  SortedSats(b, bs_);
  SortedSats(r, rs_);
  std::vector<DiffRecord>& records = records_;
  size_t n = 0;
  for (size_t i = 0, j = 0; i < bs_.size() && j < rs_.size();) {
    if (bs_[i]->sat < rs_[j]->sat) {
      ++i;
    } else if (rs_[j]->sat < bs_[i]->sat) {
      ++j;
    } else {
      if (n == records.size()) records.emplace_back();
      if (Difference(*bs_[i], *rs_[j], records[n])) ++n;
      ++i;
      ++j;
    }
  }
  records.resize(n);
  if (records.empty()) {
    ++stats_.noCommon;
    return;
  }
  long double clk[2] = {0.0L, 0.0L};
  if (clock_) {
    // both stations are solved, whatever the first one gives
    const bool baseSolved = clock_->Solve(0, b, clk[0]);
    const bool roverSolved = clock_->Solve(1, r, clk[1]);
    if (!baseSolved || !roverSolved) ++stats_.noClock;
  }
  writer.WriteEpoch(b.time, r.time - b.time, clk[0], clk[1], records);
  ++stats_.epochs;
  stats_.records += static_cast<long>(records.size());
  for (const DiffRecord& x : records) {
    stats_.satellites.insert(x.sat);
    ++stats_.systems[satnum::SystemLetter(x.sat)].records;
  }
}

void Differ::Progress(const mjd& t) {
  long hour = static_cast<long>(t.GetMJDay()) * 24 + static_cast<long>(t.GetSecond() / 3600.0L);
  if (!options_.progress || hour == lastProgressHour_) return;
  lastProgressHour_ = hour;
  ymdhms c = mjd2ymdhms(t);
  std::fprintf(stderr, "tervan-sdiff: epochs of %04u-%02u-%02u %02u h\n", c.GetYear(), c.GetMonth(),
               c.GetDay(), c.GetHour());
}

void Differ::Run(DiffWriter& writer) {
  RinexEpoch b, r;
  auto next = [this](RinexReader& in, RinexEpoch& e) {
    if (!in.NextEpoch(e)) return false;
    NoteSystems(e, &in == &base_);
    return true;
  };
  auto nextB = [&]() { return next(base_, b); };
  auto nextR = [&]() { return next(rover_, r); };
  bool haveB = nextB(), haveR = nextR();
  while (haveB && haveR) {
    long double offB, offR;
    long long kb = NominalSecond(b.time, offB), kr = NominalSecond(r.time, offR);
    if (kb < kr) {
      ++stats_.onlyBase;
      haveB = nextB();
      continue;
    }
    if (kr < kb) {
      ++stats_.onlyRover;
      haveR = nextR();
      continue;
    }
    Progress(b.time);
    if (options_.interval > 0 && kb % options_.interval != 0)
      ++stats_.decimated;
    else if (std::fabs(offB) > options_.tagTolerance + kTagSlack ||
             std::fabs(offR) > options_.tagTolerance + kTagSlack)
      ++stats_.tagOffset;
    else
      ProcessEpoch(b, r, writer);
    haveB = nextB();
    haveR = nextR();
  }
  while (haveB) {
    ++stats_.onlyBase;
    haveB = nextB();
  }
  while (haveR) {
    ++stats_.onlyRover;
    haveR = nextR();
  }
  NoteUsedPairs();
}
