#include "preprocess/Tervan_SetAmbiguities.h"

void SetAmbiguities(TervanC& tc) { (void)tc; }

void GetAmbIndex(short& prn, long& ieph, matrix<long>& AI, matrix<short>& AP, long& namb,
                 long& iamb) {
  for (long k = 0; k < namb; ++k) {
    if (AP(k) == prn && AI(k, 0) <= ieph && ieph <= AI(k, 2)) {
      iamb = k;
      return;
    }
  }
  iamb = -1;
}
