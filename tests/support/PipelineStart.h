// The start of a run as main makes it, for tests that drive the stages in process:
// options, loading, problem satellites, receiver properties and satellite geometry.
#ifndef TERVAN_TESTS_SUPPORT_PIPELINESTART_H
#define TERVAN_TESTS_SUPPORT_PIPELINESTART_H

#include <string>
#include <vector>

#include "driver/DriverTestUtil.h"
#include "driver/Tervan_ReadFiles.h"
#include "preprocess/Tervan_ApplyCorrections.h"
#include "preprocess/Tervan_GetInitPos.h"
#include "sdiff/ExcludeProblemSat.h"

namespace testsupport {

// Parses the arguments into tc, loads every input and runs the stages up to the
// satellite geometry.
inline void RunToGeometry(TervanC& tc, const std::vector<std::string>& args) {
  drivertest::Parse(tc, args);
  CheckArgumetns(tc);
  PrintArgumetns(tc);
  SetFiles(tc);
  ReadFiles(tc);
  ExcludeProblemSat(tc.sdh, tc.sdd, *tc.GetSatCRX(), tc.GetIsSCRX(), tc.GetVerbose());
  GetReceiverProperties(tc);
  ApplyCorrections(tc);
}

}  // namespace testsupport

#endif
