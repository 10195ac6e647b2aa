#include "preprocess/Tervan_PhaseWindUp.h"

void PhaseWindUp(TervanC& tc) {
  (void)tc;
}
