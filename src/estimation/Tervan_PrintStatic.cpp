#include "estimation/Tervan_PrintStatic.h"

void PrintStatic(TervanC& tc) {
  (void)tc;
}
