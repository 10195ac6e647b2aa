#include "preprocess/Tervan_AntennaPhaseCenter.h"

void ApplyATXVal(TervanC& tc) {
  (void)tc;
}
