#include "sdiff/SdReport.h"

#include <cstdio>
#include <cstdlib>

#include "core/ProgramError.h"

const char* const kSdToolName = "tervan-sdiff";

namespace {

std::string& CleanupFile() {
  static std::string path;
  return path;
}

void RemoveCleanupFile() {
  if (!CleanupFile().empty()) std::remove(CleanupFile().c_str());
}

}  // namespace

void SdSetCleanupFile(const std::string& path) {
  // Fatal errors of the program's own classes end the run through exit() as well.
  static const bool registered = (std::atexit(RemoveCleanupFile) == 0);
  (void)registered;
  CleanupFile() = path;
}

void SdError(const std::string& text) {
  RemoveCleanupFile();
  ProgramError(kSdToolName, text);
}

void SdWarning(const std::string& text) { ProgramWarning(kSdToolName, text); }
