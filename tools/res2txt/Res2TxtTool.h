// tervan-res2txt: the binary residual file of a Tervan run as text.
#ifndef TERVAN_TOOLS_RES2TXT_RES2TXTTOOL_H
#define TERVAN_TOOLS_RES2TXT_RES2TXTTOOL_H

#include <ostream>
#include <string>
#include <vector>

// Runs the tool on its arguments (without the program name); the text goes to out
// unless an output file is named. Returns the exit status (0 done, 1 error).
int RunRes2Txt(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

#endif
