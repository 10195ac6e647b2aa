#include "preprocess/Tervan_SetLinCombinations.h"

#include <iostream>
#include <string>

#include "core/ProgramOutput.h"
#include "preprocess/StageRecords.h"

namespace {

const char* const kStage = "SetLinearCombinations";

// One report line (indented by two blanks per level) and its verbose twin.
void Step(const TervanC& tc, const std::string& indent, const std::string& text) {
  std::cout << indent << text << std::endl;
  stagerec::Detail(tc, kStage, text);
}

}  // namespace

void SetLinearCombinations(TervanC& tc) {
  if (tc.verbose)
    std::cerr << "Tervan::SetLinearCombinations(): SETTING LINEAR COMBINATIONS OF OBSERVATIONS!"
              << std::endl;
  ProgramSubSubTitle("SETTING LINEAR COMBINATION OF OBSERVATIONS:", 0);
  const bool phase = tc.ifL3 || tc.ifL1 || tc.ifL2;
  if (phase) {
    long n = 0;
    tc.sdd.CorrMSJumps(n);
    std::cout << "  Correcting observations for MS jumps: " << n << std::endl;
    stagerec::Detail(tc, kStage, "Eliminating ms jumps: " + std::to_string(n) + " jumps");
  }
  Step(tc, "  ", "Observations linear combinations    :");
  if (tc.ifPc3) {
    tc.sdd.SetLC_PC3();
    Step(tc, "     ", "P3[C1,P2/C7] Linear combination!");
  }
  if (tc.ifPp3) {
    tc.sdd.SetLC_PP3();
    Step(tc, "     ", "P3[P1,P2/C7] Linear combination!");
  }
  if (tc.ifL3) {
    tc.sdd.SetLC_L3();
    Step(tc, "     ", "L3[L1,L2/L7] Linear combination!");
  }
  if (phase) {
    tc.sdd.SetLC_L4();
    Step(tc, "     ", "L4[L1,L2/L7] Linear combination - cycle slip detection!");
    // The wide-lane combination takes C1; a file without C1 but with P1 takes P1,
    // so that its phases keep their slip screening.
    const bool useC1 = tc.sdh.iC1 || !tc.sdh.iP1;
    tc.sdd.SetLC_MW(useC1);
    Step(tc, "     ",
         std::string("Melbourne-Wuebbena[L1,L2/L7,") + (useC1 ? "C1" : "P1") +
             ",P2/C7] Linear combination!");
  }
  std::cout << std::endl << std::endl;
}
