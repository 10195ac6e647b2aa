// Command-line options: parsing into the run context, checking and repairing the
// combinations, deriving the observation weights, and the settings report.
#ifndef TERVAN_DRIVER_TERVAN_GETFILES_H
#define TERVAN_DRIVER_TERVAN_GETFILES_H

#include <fstream>
#include <string>

#include "driver/TervanC.h"

// Files that take standard output ("-wo") and standard error ("-we") when redirected.
extern std::ofstream coutRedirect;
extern std::ofstream cerrRedirect;

// Reads every argument into the run context, opens the redirections and prints the
// help text when no run was asked for (then RunProg is false).
void ParseArgumetns(TervanC& tc, int argc, char** argv);

// Checks the files and combinations of the options: missing mandatory inputs end the
// run, other problems switch the input or setting off or to a default with a warning.
// Derives the observation sigmas and weights.
void CheckArgumetns(TervanC& tc);

// True when two names denote one file: the same name, two spellings of one path
// (whether or not the file exists yet), or two links of one existing file.
bool SameFile(const std::string& a, const std::string& b);

// Title block and the report of the settings on standard output.
void PrintArgumetns(TervanC& tc);

#endif
