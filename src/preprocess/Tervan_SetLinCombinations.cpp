#include "preprocess/Tervan_SetLinCombinations.h"

void SetLinearCombinations(TervanC& tc) {
  (void)tc;
}
