// Command line of tervan-sdiff (GNU style: --name VALUE or --name=VALUE).
#ifndef TERVAN_TOOLS_SDIFF_OPTIONS_H
#define TERVAN_TOOLS_SDIFF_OPTIONS_H

#include <string>
#include <vector>

struct Options {
  std::string base, rover, out;
  std::vector<std::string> nav;  // RINEX navigation files
  // Precise orbit and clock files, consecutive days joined into one series in the
  // order given (the first file's values are kept at a shared epoch).
  std::vector<std::string> sp3, clk;
  std::string glonassChannels;        // GLONASS channel file to write
  long interval = 0;                  // [s], 0: every common epoch
  long double tagTolerance = 0.001L;  // [s]
  bool quiet = false;
  bool help = false;
  bool version = false;

  // Parses the arguments (without the program name); ends the run with an error on a
  // bad command line.
  static Options Parse(const std::vector<std::string>& args);
  static std::string HelpText();
};

#endif
