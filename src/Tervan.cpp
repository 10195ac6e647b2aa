// Tervan: GNSS baseline estimation from between-receiver single differences.
#include "driver/TervanC.h"
#include "driver/Tervan_GetFiles.h"
#include "driver/Tervan_ReadFiles.h"

int main(int argc, char** argv) {
  TervanC tc;
  ParseArgumetns(tc, argc, argv);
  if (tc.GetRunProg()) {
    CheckArgumetns(tc);
    PrintArgumetns(tc);
    SetFiles(tc);
    ReadFiles(tc);
  }
  tc.EndProg();
  return 0;
}
