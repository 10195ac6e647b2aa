#include "estimation/Tervan_ResCheck.h"

void ResCheck(TervanC& tc) { (void)tc; }
