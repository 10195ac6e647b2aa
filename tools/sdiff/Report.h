// Error and warning reporting of the tervan-sdiff tool.
//
// Every fatal error of the tool goes through SdError: it removes the partly written
// output files (registered with SdAddCleanupFile) before the framed message ends the
// run with exit status 1, so that a failed conversion never leaves a half-written
// file. The registered files are removed as well when a class of the program ends
// the run.
#ifndef TERVAN_TOOLS_SDIFF_REPORT_H
#define TERVAN_TOOLS_SDIFF_REPORT_H

#include <string>

// Name under which the tool reports ("**** tervan-sdiff: Error -> ... ****").
extern const char* const kSdToolName;

// Framed error on standard error, removal of the registered files, exit status 1.
[[noreturn]] void SdError(const std::string& text);

// Framed warning on standard error; the run goes on.
void SdWarning(const std::string& text);

// Registers a file that a fatal error removes; SdClearCleanupFiles forgets them all
// (the output is complete).
void SdAddCleanupFile(const std::string& path);
void SdClearCleanupFiles();

#endif
