#include "sdiff/SdReport.h"

#include <cstdio>

#include "core/ProgramError.h"

const char* const kSdToolName = "tervan-sdiff";

namespace {
std::string& CleanupFile() {
  static std::string path;
  return path;
}
}  // namespace

void SdSetCleanupFile(const std::string& path) {
  CleanupFile() = path;
}

void SdError(const std::string& text) {
  if (!CleanupFile().empty()) std::remove(CleanupFile().c_str());
  ProgramError(kSdToolName, text);
}

void SdWarning(const std::string& text) {
  ProgramWarning(kSdToolName, text);
}
