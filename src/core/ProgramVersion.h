// Version line of the programs: release number and the commit they were built from.
#ifndef TERVAN_CORE_PROGRAMVERSION_H
#define TERVAN_CORE_PROGRAMVERSION_H

#include <string>

// Release number of the build, for example "1.0.0".
std::string ReleaseNumber();

// Commit of the sources (`git describe`; "unknown" outside a git checkout).
std::string SourceCommit();

// One line "PROGRAM RELEASE (commit COMMIT)", without a line end.
std::string VersionLine(const std::string& program);

#endif
