#include "preprocess/Tervan_ReleaseData.h"

namespace {

template <class T>
void Release(matrix<T>& m, bool read) {
  if (!read) m.Resize(0, 0);
}

}  // namespace

void ReleaseAntennaGeometry(TervanC& tc) {
  Release(tc.SAT_DIST, false);
  Release(tc.AZM, tc.isresfile || tc.isSkyPlot);
}

void ReleaseClockCodes(TervanC& tc) {
  PhsDiffData& d = tc.sdd;
  Release(d.P2, tc.ifP2);
  Release(d.C7, tc.ifP2);
  for (matrix<gnssobs>* m :
       {&d.C5, &d.L5, &d.C2, &d.C8, &d.L8, &d.PC1, &d.PC4, &d.PP4, &d.LC5, &d.CL1})
    Release(*m, false);
  Release(d.D1, false);
  Release(d.D2, false);
}

void ReleasePreprocessingData(TervanC& tc) {
  PhsDiffData& d = tc.sdd;
  // The solution reads a code or phase column only for a type of the -l list (a
  // Galileo satellite's second frequency from C7 and L7).
  Release(d.C1, tc.ifC1);
  Release(d.P1, tc.ifP1);
  Release(d.PC3, tc.ifPc3);
  Release(d.PP3, tc.ifPp3);
  Release(d.L1, tc.ifL1);
  Release(d.L2, tc.ifL2);
  Release(d.L7, tc.ifL2);
  Release(d.L3, tc.ifL3);
  Release(d.L4, false);
  Release(d.MW, tc.isFixAmb);  // wide-lane means of the integer fixing
}

void ReleaseEmissionStates(TervanC& tc) {
  Release(tc.Emissions, false);
}
