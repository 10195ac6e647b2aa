#include "preprocess/Tervan_GetInitPos.h"

void GetReceiverProperties(TervanC& tc) {
  (void)tc;
}
