#include <iostream>
#include <sstream>

#include "core/ProgramError.h"
#include "support/TestSupport.h"

TEST(ProgramError, ErrorFrameOnStandardErrorAndExitStatus1) {
  EXPECT_EXIT(ProgramError("Tervan", "NO EPHEMERIS FILE SET!"), ::testing::ExitedWithCode(1),
              testsupport::Literal("\n**** Tervan: Error -> NO EPHEMERIS FILE SET! ****\n"
                                   "     Exiting Tervan ... \n\n"));
}

TEST(ProgramError, WarningFrameContinues) {
  std::ostringstream os;
  WriteFramed(os, {"####", "Tervan", "Warning", "W!", "Continuing ", true, true});
  EXPECT_EQ(os.str(), "\n#### Tervan: Warning -> W! ####\n     Continuing Tervan ... \n\n");
}

TEST(ProgramError, ClassErrorOnStandardOutput) {
  EXPECT_EXIT_COUT(ClassError("mjd", "MJDAY not valid"),
                   "\n**** mjd: Error -> MJDAY not valid ****\n     Exiting class mjd ... \n");
  EXPECT_EXIT_COUT(FileError("GPSbEphData", "X", "####"),
                   "#### GPSbEphData: Error -> X ####\n     Exiting GPSbEphData ... \n");
}

TEST(ProgramError, ClassWarningFrame) {
  testing::internal::CaptureStdout();
  ClassWarning("GPSbEph", "text", true);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "\n#### GPSbEph: Warning -> text ####\n     Continuing GPSbEph ... \n");
}
