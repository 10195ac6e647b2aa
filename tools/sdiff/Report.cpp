#include "sdiff/Report.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/ProgramError.h"

const char* const kSdToolName = "tervan-sdiff";

namespace {

std::vector<std::string>& CleanupFiles() {
  static std::vector<std::string> files;
  return files;
}

void RemoveCleanupFiles() {
  for (const std::string& f : CleanupFiles()) std::remove(f.c_str());
  CleanupFiles().clear();
}

}  // namespace

void SdAddCleanupFile(const std::string& path) {
  // Fatal errors of the program's own classes end the run through exit() as well. The
  // list exists before the handler is registered, so it outlives the handler's call.
  CleanupFiles();
  static const bool registered = (std::atexit(RemoveCleanupFiles) == 0);
  (void)registered;
  CleanupFiles().push_back(path);
}

void SdClearCleanupFiles() {
  CleanupFiles().clear();
}

void SdError(const std::string& text) {
  RemoveCleanupFiles();
  ProgramError(kSdToolName, text);
}

void SdWarning(const std::string& text) {
  ProgramWarning(kSdToolName, text);
}
