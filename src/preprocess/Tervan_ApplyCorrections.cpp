#include "preprocess/Tervan_ApplyCorrections.h"

void ApplyCorrections(TervanC& tc) {
  (void)tc;
}
