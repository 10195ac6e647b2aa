#include "preprocess/Tervan_ConAmbiguities.h"

void ConAmbiguities(TervanC& tc) { (void)tc; }
