#include "estimation/Tervan_PrintResStatic.h"

void PrintResStatic(TervanC& tc) { (void)tc; }
