// Cycle slips, gaps and millisecond jumps of simulated data through the
// ambiguity stages: every slip found and repaired with the inserted integers,
// arcs joined across short gaps and kept apart across long ones.
#include <gtest/gtest.h>

#include "preprocess/SimArcs.h"

using arctest::AddGap;
using arctest::AddSlip;
using arctest::SimArcs;

namespace {

// Slips of every kind the two screening passes miss, several at one epoch, on
// satellites seen for the whole scenario.
void AddHiddenSlips(sim::Scenario& sc, long double at) {
  AddSlip(sc, "G16", at, 1, 1);
  AddSlip(sc, "G21", at, 4, 3);
  AddSlip(sc, "G25", at, 5, 4);
  AddSlip(sc, "G30", at, 9, 7);
  AddSlip(sc, "R09", at, 3, 2);
  AddSlip(sc, "R10", at, 1, 1);
  AddSlip(sc, "R23", at, 5, 4);
  AddSlip(sc, "R24", at, 9, 7);
  AddSlip(sc, "E01", at, 1, 1);
  AddSlip(sc, "E02", at, 9, 7);
  AddSlip(sc, "E21", at, 3, 2);
  AddSlip(sc, "E25", at, 4, 3);
}

void ExpectAllRepaired(const SimArcs& a) {
  EXPECT_TRUE(a.WrongArcs().empty()) << a.setReport << a.conReport;
  EXPECT_EQ(a.tc.AmbSat.Length(), a.ImpliedArcs()) << a.conReport << a.Compare();
  EXPECT_EQ(a.conReport.find("FIXED\n") == std::string::npos, false);
}

// 30 s: 2 h of GPS, GLONASS and Galileo; hidden slips at 1 h, a slip inside a
// gap of 2 min, a one-frequency slip, and a gap of 6 min that stays open.
TEST(ArcSimulation, SlipsAt30sAreFoundAndRepaired) {
  sim::Scenario sc = arctest::Scenario("GRE", 30, 7200);
  AddHiddenSlips(sc, 3600);
  AddSlip(sc, "E24", 4800, 1, 0);
  AddSlip(sc, "R02", 2400, 0, 1);
  AddGap(sc, "G12", 1800, 1920);
  AddSlip(sc, "G12", 1920, 7, -3);
  AddGap(sc, "R02", 3000, 3330);
  SimArcs a(sc);
  a.Run();
  ExpectAllRepaired(a);
}

// 1 s: 40 min, hidden slips after 20 min, a slip inside a gap of 1 min.
TEST(ArcSimulation, SlipsAt1sAreFoundAndRepaired) {
  sim::Scenario sc = arctest::Scenario("GRE", 1, 2400);
  AddHiddenSlips(sc, 1200);
  AddGap(sc, "E24", 600, 660);
  AddSlip(sc, "E24", 660, -2, 5);
  SimArcs a(sc);
  a.Run();
  ExpectAllRepaired(a);
}

// Receiver clocks that jump by a millisecond: no phase is lost and no arc cut.
TEST(ArcSimulation, MillisecondJumpsLoseNoPhase) {
  sim::Scenario sc = arctest::Scenario("GRE", 30, 7200);
  sc.msJumps = true;
  SimArcs a(sc);
  a.Run();
  EXPECT_GT(a.msJumps, 0);
  EXPECT_TRUE(a.WrongArcs().empty());
  EXPECT_EQ(a.tc.AmbSat.Length(), a.ImpliedArcs()) << a.Compare();
  EXPECT_NE(a.setReport.find("   Steps found inside arcs            :    0"), std::string::npos);
}

}  // namespace

namespace {

// One-off measurement (run with --gtest_also_run_disabled_tests): a clean day
// at 30 s, the steps the search finds and the arcs left against those implied.
TEST(ArcSimulation, DISABLED_CleanDayAt30s) {
  SimArcs a(arctest::Scenario("GRE", 30, 86400));
  a.Run();
  std::cout << a.setReport.substr(a.setReport.find("  Step search")).substr(0, 200) << "final "
            << a.tc.AmbSat.Length() << " implied " << a.ImpliedArcs() << " wrong "
            << a.WrongArcs().size() << std::endl;
}

}  // namespace
