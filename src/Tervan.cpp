// Tervan: GNSS baseline estimation from between-receiver single differences.
#include "core/ProgramOutput.h"
#include "driver/TervanC.h"
#include "driver/Tervan_GetFiles.h"
#include "driver/Tervan_ReadFiles.h"
#include "sdiff/ExcludeProblemSat.h"

int main(int argc, char** argv) {
  PhsDiffHeader sdh;
  PhsDiffData sdd(sdh);
  PhsDiff sd(sdh, sdd);
  IONEXHeader ionxh;
  IONEXData ionxd(ionxh);
  IONEX ionx(ionxh, ionxd);
  TervanC tc(sdh, sdd, sd, ionxh, ionxd, ionx);
  ParseArgumetns(tc, argc, argv);
  if (tc.GetRunProg()) {
    CheckArgumetns(tc);
    PrintArgumetns(tc);
    SetFiles(tc);
    ReadFiles(tc);
    ProgramSubTitle("PREPROCESSING OF PHASE/CODE GNSS DATA:", 0);
    ExcludeProblemSat(tc.sdh, tc.sdd, *tc.GetSatCRX(), tc.GetIsSCRX(), tc.GetVerbose());
  }
  tc.EndProg();
  return 0;
}
