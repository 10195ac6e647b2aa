// Chao mapping functions.
#ifndef TERVAN_ATMOSPHERE_GMF_CHAO_H
#define TERVAN_ATMOSPHERE_GMF_CHAO_H

class gMF_Chao {
 public:
  // E: elevation [rad].
  void GetMappFunction(long double E, long double& mfdry, long double& mfwet) const;
};

#endif
