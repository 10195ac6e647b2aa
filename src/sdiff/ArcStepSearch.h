// Search for cycle slips inside one continuous phase arc that the L4 screening
// (second differences) and the Melbourne-Wuebbena screening (spread of the whole
// arc) let through.
//
// Two tests at every epoch of the arc:
//  - Melbourne-Wuebbena: the difference of the means of up to mwWindow values
//    before and after the epoch, with the sigma of that difference from the
//    scatter within both windows. A step is a difference above half a wide-lane
//    cycle and above zMW times its sigma.
//  - L4: one quadratic in time through up to l4Window values on each side with a
//    step at the epoch (the quadratic predicts across a gap). A step is an
//    estimate above half of |lambda2 - lambda1| (the L4 signature of a (1,1)
//    slip) and above zL4 times its sigma, so that the limit is used only where
//    the noise and the interval allow it.
// Neighbouring epochs above the limits form one candidate; the epoch of the
// largest ratio to the sigma is the slip.
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
  long l4Window = 20;  // values on each side of the L4 fit
  long minSide = 5;    // fewest values on one side for either test
  long double zMW = 4, zL4 = 5;

  // Indices (ascending) of the values at which a new arc starts: the slip lies
  // between value j-1 and value j.
  std::vector<long> Steps(const ArcSeries& s) const;

  // The Melbourne-Wuebbena and L4 candidates alone (for tests and reports).
  std::vector<long> StepsMW(const ArcSeries& s) const;
  std::vector<long> StepsL4(const ArcSeries& s) const;

 private:
  long double lWL_, dLambda_;
};

#endif
