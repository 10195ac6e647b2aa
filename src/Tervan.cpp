// Tervan: GNSS baseline estimation from between-receiver single differences.
#include "core/ProgramOutput.h"
#include "driver/TervanC.h"
#include "driver/Tervan_GetFiles.h"
#include "driver/Tervan_ReadFiles.h"
#include "estimation/Tervan_FixAmbiguities.h"
#include "estimation/Tervan_PrintResStatic.h"
#include "estimation/Tervan_PrintStatic.h"
#include "estimation/Tervan_ProcKinematic.h"
#include "estimation/Tervan_ProcStatic.h"
#include "estimation/Tervan_ResCheck.h"
#include "estimation/Tervan_SetUnknowns.h"
#include "preprocess/Tervan_AntennaPhaseCenter.h"
#include "preprocess/Tervan_ApplyCorrections.h"
#include "preprocess/Tervan_ConAmbiguities.h"
#include "preprocess/Tervan_Eclipsing.h"
#include "preprocess/Tervan_GetInitPos.h"
#include "preprocess/Tervan_PhaseWindUp.h"
#include "preprocess/Tervan_ProcClock.h"
#include "preprocess/Tervan_ReleaseData.h"
#include "preprocess/Tervan_SetAmbiguities.h"
#include "preprocess/Tervan_SetLinCombinations.h"
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
    GetReceiverProperties(tc);
    ApplyCorrections(tc);
    ApplyATXVal(tc);
    ReleaseAntennaGeometry(tc);
    SetLinearCombinations(tc);
    ProcClock(tc);
    ReleaseClockCodes(tc);
    SetAmbiguities(tc);
    ConAmbiguities(tc);
    PhaseWindUp(tc);
    GetEclipsing(tc);
    ReleasePreprocessingData(tc);
    SetUnknowns(tc);
    ProgramSubTitle("FINAL PROCESSING OF PHASE/CODE GNSS DATA:", 0);
    ProcStatic(tc);
    ResCheck(tc);
    if (tc.GetNOutl()) ProcStatic(tc);
    FixAmbiguities(tc);
    ProgramSubTitle("GNSS SINGLE DIFFERENCES PROCESSING RESULTS:", 0);
    PrintStatic(tc);
    PrintResStatic(tc);
    ReleaseEmissionStates(tc);
    ProcKinematic(tc);
  }
  tc.EndProg();
  return 0;
}
