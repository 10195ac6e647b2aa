#include "preprocess/Tervan_ProcClock.h"

void ProcClock(TervanC& tc) {
  (void)tc;
}
