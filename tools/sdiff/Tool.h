// The tervan-sdiff run: options, conversion, output files and the summary line.
#ifndef TERVAN_TOOLS_SDIFF_TOOL_H
#define TERVAN_TOOLS_SDIFF_TOOL_H

#include <map>
#include <string>
#include <vector>

#include "gnss/mjd.h"

// Runs the tool on the arguments (without the program name); returns the exit status
// of a successful run (errors end the process with status 1).
int SdRun(const std::vector<std::string>& args);

// The GLONASS channel file text for slot -> channel, valid from the given epoch on.
std::string SdGlonassChannelText(const std::map<int, int>& channels, const mjd& from);

#endif
