#include "preprocess/Tervan_Eclipsing.h"

void GetEclipsing(TervanC& tc) {
  (void)tc;
}
