#include "estimation/Tervan_ProcStatic.h"

void ProcStatic(TervanC& tc) { (void)tc; }
