#include "estimation/ObsTypes.h"

#include "gnss/SatelliteNumbering.h"

const ObsTypeDef ObsTypes[NObsTypes] = {
    {&TervanC::ifC1, &TervanC::fc1, &TervanC::ifOc1, &TervanC::ifXc1, &TervanC::s0apost_C1,
     &TervanC::isdcbC1, &TervanC::dcbC1, &TervanC::ixdcbC1, &PhsDiffHeader::HasC1, false,
     "]     f(C1) = ", "      A-posteriori C1 : ", "Tervan::ProcStatic():         RMS C1: "},
    {&TervanC::ifP1, &TervanC::fp1, &TervanC::ifOp1, &TervanC::ifXp1, &TervanC::s0apost_P1,
     &TervanC::isdcbP1, &TervanC::dcbP1, &TervanC::ixdcbP1, &PhsDiffHeader::HasP1, false,
     "]     f(P1) = ", "      A-posteriori P1 : ", "Tervan::ProcStatic():         RMS P1: "},
    {&TervanC::ifP2, &TervanC::fp2, &TervanC::ifOp2, &TervanC::ifXp2, &TervanC::s0apost_P2,
     &TervanC::isdcbP2, &TervanC::dcbP2, &TervanC::ixdcbP2, &PhsDiffHeader::HasP2, false,
     "]     f(P2) = ", "      A-posteriori P2 : ", "Tervan::ProcStatic():         RMS P2: "},
    {&TervanC::ifPc3, &TervanC::fc3, &TervanC::ifOc3, &TervanC::ifXc3, &TervanC::s0apost_Pc3,
     &TervanC::isdcbPc3, &TervanC::dcbPc3, &TervanC::ixdcbPc3, &PhsDiffHeader::HasPC3, false,
     "]     f(Pc3) = ", "      A-posteriori Pc3: ", "Tervan::ProcStatic():         RMS Pc3: "},
    {&TervanC::ifPp3, &TervanC::fp3, &TervanC::ifOp3, &TervanC::ifXp3, &TervanC::s0apost_Pp3,
     &TervanC::isdcbPp3, &TervanC::dcbPp3, &TervanC::ixdcbPp3, &PhsDiffHeader::HasPP3, false,
     "]     f(Pp3) = ", "      A-posteriori Pp3: ", "Tervan::ProcStatic():         RMS Pp3: "},
    {&TervanC::ifL3, &TervanC::fl3, &TervanC::ifOl3, &TervanC::ifXl3, &TervanC::s0apost_L3, nullptr,
     nullptr, nullptr, &PhsDiffHeader::HasL3, true,
     "]     f(L3)  = ", "      A-posteriori L3 : ", "Tervan::ProcStatic():         RMS L3: "},
    {&TervanC::ifL1, &TervanC::fl1, &TervanC::ifOl1, &TervanC::ifXl1, &TervanC::s0apost_L1, nullptr,
     nullptr, nullptr, &PhsDiffHeader::HasL1, true,
     "]     f(L1)  = ", "      A-posteriori L1 : ", "Tervan::ProcStatic():         RMS L1: "},
    {&TervanC::ifL2, &TervanC::fl2, &TervanC::ifOl2, &TervanC::ifXl2, &TervanC::s0apost_L2, nullptr,
     nullptr, nullptr, &PhsDiffHeader::HasL2, true,
     "]     f(L2)  = ", "      A-posteriori L2 : ", "Tervan::ProcStatic():         RMS L2: "},
};

const int TypePrintOrder[NObsTypes] = {tC1, tP1, tP2, tPc3, tPp3, tL1, tL2, tL3};

int SystemOf(const TervanC& tc, short sat) {
  if (satnum::IsGPS(sat)) return tc.isGPS ? 0 : -1;
  if (satnum::IsGLONASS(sat)) return tc.isGLN ? 1 : -1;
  if (satnum::IsGALILEO(sat)) return tc.isGAL ? 2 : -1;
  return -1;
}
