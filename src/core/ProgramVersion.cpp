#include "core/ProgramVersion.h"

#include "TervanVersion.h"

std::string ReleaseNumber() {
  return TERVAN_VERSION;
}

std::string SourceCommit() {
  return TERVAN_COMMIT;
}

std::string VersionLine(const std::string& program) {
  return program + " " + ReleaseNumber() + " (commit " + SourceCommit() + ")";
}
