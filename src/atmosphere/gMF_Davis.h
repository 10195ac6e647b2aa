// Davis mapping function (one function for both parts) from the standard atmosphere.
#ifndef TERVAN_ATMOSPHERE_GMF_DAVIS_H
#define TERVAN_ATMOSPHERE_GMF_DAVIS_H

class gMF_Davis {
 public:
  gMF_Davis();
  // E: elevation [rad].
  void GetMappFunction(long double E, long double& mfdry, long double& mfwet) const;

 private:
  long double a, b, c;
  long double alpha;  // temperature lapse rate [K/km]
};

#endif
