#include "estimation/Tervan_ProcKinematic.h"

void ProcKinematic(TervanC& tc) {
  (void)tc;
}
