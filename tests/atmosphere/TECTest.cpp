#include <gtest/gtest.h>

#include "atmosphere/TEC.h"
#include "support/TestSupport.h"

TEST(TEC, StoresEveryCellSeparately) {
  TEC tec;
  tec.Resize(2, 1, 3, 4);
  long n = 0;
  for (long e = 0; e < 2; e++)
    for (long b = 0; b < 3; b++)
      for (long l = 0; l < 4; l++) tec(e, 0, b, l) = static_cast<long double>(n++);
  n = 0;
  for (long e = 0; e < 2; e++)
    for (long b = 0; b < 3; b++)
      for (long l = 0; l < 4; l++) EXPECT_EQ(tec(e, 0, b, l), static_cast<long double>(n++));
}

TEST(TECDeathTest, IndexOutsideTheGridStopsTheProgram) {
  TEC tec;
  EXPECT_EXIT_COUT(
      tec(0, 0, 0, 0),
      "TEC::ERROR:\n\tOperator:   ()\nTEC object is not set:  [    0,    0,    0,    0]");
  tec.Resize(2, 1, 3, 4);
  EXPECT_EXIT_COUT(tec(2, 0, 0, 0),
                   "\n************************************************************\nTEC::ERROR:\n"
                   "\tOperator:   ()\nEpoch index not in range:     2 -> [    0,    1]\n\n"
                   "************************************************************\n"
                   "Exiting program...\n\n");
  EXPECT_EXIT_COUT(tec(0, -1, 0, 0), "Height index not in range:    -1 -> [    0,    0]");
  EXPECT_EXIT_COUT(tec(0, 0, 3, 0), "Latitude index not in range:     3 -> [    0,    2]");
  EXPECT_EXIT_COUT(tec(0, 0, 0, 4), "Longitude index not in range:     4 -> [    0,    3]");
}

TEST(TECDeathTest, GridsBeyondAnyMapFileStopTheProgram) {
  TEC tec;
  EXPECT_EXIT_COUT(tec.Resize(100000, 1, 100000, 100000),
                   "TEC::ERROR:\n\tFunction:   Resize\nTEC dimensions not valid:  [100000,    1,"
                   "100000,100000]");
  EXPECT_EXIT_COUT(tec.Resize(0, 1, 3, 3), "TEC dimensions not valid:  [    0,    1,    3,    3]");
}
