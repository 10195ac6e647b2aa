#include "sdiff/PreciseOrbits.h"

#include "gnss/xyzt.h"

namespace {
constexpr long double kC = 299792458.0L;  // [m/s]
// Signals received at the first epoch of the file left the satellites a little earlier.
constexpr long double kMargin = 60.0L;  // [s]
}  // namespace

PreciseOrbits::PreciseOrbits(const std::vector<std::string>& sp3,
                             const std::vector<std::string>& clk) {
  eph_.SetFile(sp3.at(0).c_str());
  for (size_t i = 1; i < sp3.size(); i++) eph_.AddFile(sp3[i].c_str());
  eph_.ReadFile();
  if (eph_.GetNEpoch() > 0) {
    first_ = eph_.GetMJD(0);
    last_ = eph_.GetMJD(eph_.GetNEpoch() - 1);
  }
  if (!clk.empty()) {
    clk_ = std::make_unique<GNSSpClk>();
    clk_->SetFile(clk[0].c_str());
    for (size_t i = 1; i < clk.size(); i++) clk_->AddFile(clk[i].c_str());
    clk_->ReadFile();
  }
}

bool PreciseOrbits::State(short sat, const mjd& t, xyz& position, long double& clock) {
  // Only inside the orbit file: interpolation does not extrapolate.
  if (eph_.GetNEpoch() < 2 || t - first_ < -kMargin || last_ - t < -kMargin) return false;
  xyzt pos, vel;
  eph_.CalcSatPosition(sat, t, pos, vel);
  if (!eph_.GetPSisOK()) return false;
  if (clk_) {
    clk_->SetEpochIndex(t);
    clk_->GetSatelliteClock(sat, t, clock);
    if (!clk_->GetDTisOK()) return false;
  } else {
    if (!eph_.GetDTisOK()) return false;
    clock = pos.GetT();
  }
  position = pos.GetXYZ();
  // Periodic relativistic clock term of the eccentric orbit.
  clock -= 2.0L * (position * vel.GetXYZ()) / (kC * kC);
  return true;
}
