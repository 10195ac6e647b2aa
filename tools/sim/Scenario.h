// A simulation scenario: every choice of the command line, with defaults.
#ifndef TERVAN_SIM_SCENARIO_H
#define TERVAN_SIM_SCENARIO_H

#include <string>
#include <vector>

#include "sim/Geometry.h"
#include "sim/Time.h"

namespace sim {

enum Station { kBase = 0, kRover = 1 };

struct SlipSpec {  // a cycle slip from an epoch on
  Station station = kRover;
  std::string sat;     // "G05"
  long double at = 0;  // seconds from the start
  long n1 = 0, n2 = 0;
};

struct WindowSpec {  // a data gap or a problem-satellite window
  Station station = kRover;
  std::string sat;
  long double from = 0, to = 0;  // seconds from the start
};

struct OutlierSpec {  // an outlier on one code observation
  Station station = kRover;
  std::string sat;
  long double at = 0;
  std::string type = "C1";  // C1, P1, P2 or C7
  long double value = 0;    // m
};

struct Scenario {
  std::string outDir = "sim-out";
  unsigned long seed = 1;
  Calendar start;                 // GPS time
  long double duration = 7200;    // s
  long double interval = 30;      // s
  long double sp3Interval = 300;  // s: 300 or 900
  std::string systems = "GRE";
  Geodetic base;  // rad, m
  long double baselineKm = 10, azimuthDeg = 60, heightDiff = 40;
  long double mask = 7;                             // degrees
  long double codeSigma = 0.3, phaseSigma = 0.002;  // m, at the zenith
  long double peakTec = 25;                         // TECU
  bool troposphere = true, ionosphere = true;
  long double tropoNodes = 0;  // s: troposphere linear between nodes, Niell mapping (0 = wandering)
  bool rinex2 = false;
  bool msJumps = false;
  long double roverTagOffset = 0;  // s
  std::string baseName = "SIMB", roverName = "SIMR";
  std::vector<SlipSpec> slips;
  std::vector<WindowSpec> gaps, problems;
  std::vector<OutlierSpec> outliers;
  int randomSlips = 0, randomGaps = 0, randomOutliers = 0;
  std::string commandLine;  // as given, quoted for a shell, for the README
  // Station and satellite effects (all off unless asked for).
  bool solidTide = false, poleTide = false, oceanLoading = false;
  bool antennas = false;            // receiver and satellite antenna offsets and variations
  bool windUp = false;              // phase wind-up of both stations
  long double eclipseAngle = 0;     // degrees; satellites closer to the Sun-Earth line are
                                    // marked in the truth (0 = not marked)
  bool sineNoise = false;           // noise sigma / sin(e) instead of sigma / sqrt(sin e)
  long double motionAmplitude = 0;  // m, oscillation of the ROVER (0 = static)
  long double motionPeriod = 600;   // s
  bool mixedTracking = false;       // the ROVER records other tracking modes than the BASE
  bool receiverBiases = false;      // the ROVER's receiver has system offsets and code biases

  Scenario();
  long double StartSeconds() const { return ToSeconds(start); }
  long double EndSeconds() const { return StartSeconds() + duration; }
};

constexpr long kMaxEpochs = 86400;  // epochs of one run (a day at 1 s, a week at 30 s is 20160)

// Result of reading the command line.
enum class ParseResult { kRun, kHelp, kVersion, kError };

// Reads GNU-style options (--name=value or --name value); on error `message` says why.
ParseResult ParseScenario(const std::vector<std::string>& args, Scenario& sc, std::string& message);

std::string HelpText();

}  // namespace sim

#endif
