#include "estimation/Tervan_SetUnknowns.h"

void SetUnknowns(TervanC& tc) { (void)tc; }
