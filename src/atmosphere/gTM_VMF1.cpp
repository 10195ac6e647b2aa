#include "atmosphere/gTM_VMF1.h"

namespace {
const VMF1SiteFile::Usage kZenithDelays = {"gTM_VMF1", "zh", "zw"};
}

gTM_VMF1::gTM_VMF1() : VMF1SiteFile(kZenithDelays) {}

void gTM_VMF1::SetFile(const char* name) {
  VMF1SiteFile::SetFile(name);
  ixH = ixW = -1;
}

void gTM_VMF1::GetZenithDelay(long double x, long double& tdry, long double& twet) const {
  tdry = Interpolate(x, ixH);
  twet = Interpolate(x, ixW);
}
