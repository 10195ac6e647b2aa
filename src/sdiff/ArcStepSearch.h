// Search for cycle slips inside one continuous phase arc that the L4 screening
// (second differences) and the Melbourne-Wuebbena screening (spread of the whole
// arc) let through.
//
// Two tests at every epoch of the arc:
//  - Melbourne-Wuebbena: the difference of the means of up to mwWindow values
//    before and after the epoch, with the sigma of that difference from the
//    scatter within both windows. A step is a difference above 0.6 wide-lane
//    cycles and above zMW times its sigma (with windows of 20 values, code
//    noise alone passes 4 sigma a few times in two hours of some 30 arcs).
//  - L4: one quadratic in time through up to l4Window values on each side with a
//    step at the epoch (the quadratic predicts across a gap). A step is an
//    estimate above 0.7 |lambda2 - lambda1| (a (1,1) slip shows the whole
//    |lambda2 - lambda1|) and above zL4 times its sigma, so that the limit is
//    used only where the noise and the interval allow it.
// Neighbouring epochs above the limits form one candidate; its epoch is then
// placed where one step in both combinations fits the values best.
#ifndef TERVAN_SDIFF_ARCSTEPSEARCH_H
#define TERVAN_SDIFF_ARCSTEPSEARCH_H

#include <vector>

// Values of one arc in time order; a value with present false is missing.
struct ArcSeries {
  std::vector<long double> t;   // epoch [s] from any origin
  std::vector<long double> mw;  // Melbourne-Wuebbena [m]
  std::vector<long double> l4;  // geometry-free phase [m]
  std::vector<bool> hasMW, hasL4;
  void Add(long double time, bool okMW, long double vMW, bool okL4, long double vL4) {
    t.push_back(time);
    hasMW.push_back(okMW);
    mw.push_back(okMW ? vMW : 0.0L);
    hasL4.push_back(okL4);
    l4.push_back(okL4 ? vL4 : 0.0L);
  }
  long Size() const { return static_cast<long>(t.size()); }
};

class ArcStepSearch {
 public:
  // lambdaWL: wide-lane wavelength [m]; dLambda: |lambda2 - lambda1| [m].
  ArcStepSearch(long double lambdaWL, long double dLambda) : lWL_(lambdaWL), dLambda_(dLambda) {}

  long mwWindow = 60;  // values on each side of the Melbourne-Wuebbena test
  // s: the Melbourne-Wuebbena windows span at least this long where the interval
  // is short (at 1 s, 60 values of a low satellite's code noise leave a
  // wide-lane cycle at about 6 sigma; 10 minutes leave it at 15)
  long double mwSpan = 600;
  long l4Window = 20;  // values on each side of the L4 fit
  long minSide = 5;    // fewest values on one side for either test
  long double zMW = 6, zL4 = 8;
  long double maxUnsure = 150;  // s: longest stretch a step may leave on neither side

  // Where a step lies: between value from-1 and value to; the values from ..
  // to-1 (none when from == to) could lie on either side and belong to neither.
  struct Step {
    long from, to;
  };

  // The steps of an arc that can be placed, ascending.
  std::vector<Step> Steps(const ArcSeries& s) const;

  // The Melbourne-Wuebbena and L4 candidates alone (for tests and reports).
  std::vector<long> StepsMW(const ArcSeries& s) const;
  std::vector<long> StepsL4(const ArcSeries& s) const;

  // The step near value j (within 2 minSide): where one step in both
  // combinations fits the values around it best (the L4 and MW residual sums,
  // each scaled by its smallest value per degree of freedom, added up). Places
  // that fit almost as well (by less than 25, five sigmas squared) widen it;
  // a step whose values on neither side span more than maxUnsure seconds is not
  // placed (from = to = -1), as arcs that far apart could not be joined again.
  Step Refine(const ArcSeries& s, long j) const;

 private:
  long double lWL_, dLambda_;
};

#endif
