#include "sdiff/BroadcastOrbits.h"

#include <cmath>
#include <fstream>

#include "core/TextFields.h"
#include "gnss/SatelliteNumbering.h"
#include "gnss/xyzt.h"
#include "sdiff/Report.h"

using textfield::Fixed;
using textfield::Padded;
using textfield::Take;
using textfield::Trimmed;

namespace {

// Records further than this from the epoch are not used [s]: Keplerian records are
// valid for two hours around their epoch, GLONASS state vectors are integrated over
// at most a quarter of an hour in the normal case.
constexpr long double kMaxAgeKepler = 7200.0L;
constexpr long double kMaxAgeGlonass = 3600.0L;

}  // namespace

BroadcastOrbits::BroadcastOrbits(const std::vector<std::string>& files) {
  for (const std::string& f : files) Add(f);
}

void BroadcastOrbits::Add(const std::string& file) {
  std::ifstream in(file);
  std::string line;
  if (!in || !std::getline(in, line)) SdError("NAVIGATION FILE " + file + " CAN NOT BE OPENED!");
  if (!line.empty() && line.back() == '\r') line.pop_back();
  long double version;
  if (Trimmed(line, 60).compare(0, 20, "RINEX VERSION / TYPE") != 0 ||
      !Take(Fixed(line, 0, 9), version))
    SdError("FILE " + file + " IS NOT A PLAIN RINEX NAVIGATION FILE!");
  const char type = Padded(line, 20, 1)[0], sys = Padded(line, 40, 1)[0];
  bool gps = false, glo = false, gal = false;
  if (version < 3.0L) {
    gps = type == 'N';
    glo = type == 'G';
    gal = type == 'E' || type == 'L';
  } else if (type == 'N' || type == 'G') {
    gps = sys == 'G' || sys == 'M';
    gal = sys == 'E' || sys == 'M';
    glo = sys == 'R' || sys == 'M' || type == 'G';
  }
  if (!gps && !glo && !gal)
    SdError("FILE " + file + " IS NOT A GPS, GLONASS OR GALILEO NAVIGATION FILE!");
  auto keplerian = [&](char system) {
    auto e = std::make_unique<GPSbEph>();
    e->SetFile(file.c_str());
    e->SetSystem(system);
    e->ReadFile();
    return e;
  };
  if (gps) gps_.push_back(keplerian('G'));
  if (gal) galileo_.push_back(keplerian('E'));
  if (glo) {
    auto e = std::make_unique<GLNbEph>();
    e->SetFile(file.c_str());
    e->ReadFile();
    glonass_.push_back(std::move(e));
  }
}

bool BroadcastOrbits::State(short sat, const mjd& t, xyz& position, long double& clock) {
  const short n = satnum::NumberInSystem(sat);
  xyzt pos;
  if (satnum::IsGLONASS(sat)) {
    for (auto& e : glonass_) {
      if (!e->HasSat(n)) continue;
      long rec = e->GetDataIndex(n, t);
      if (std::fabs(t - e->GetData().GetEpoch(rec)) > kMaxAgeGlonass) continue;
      xyzt vel;
      e->CalcSatPosition(n, t, t, pos, vel, 0);
      position = pos.GetXYZ();
      clock = pos.GetT();
      return std::isfinite(static_cast<double>(clock)) && position.GetLength() > 1e7L;
    }
    return false;
  }
  auto& list = satnum::IsGPS(sat) ? gps_ : galileo_;
  if (!satnum::IsGPS(sat) && !satnum::IsGALILEO(sat)) return false;
  for (auto& e : list) {
    if (!e->HasSat(n)) continue;
    long rec = e->GetDataIndex(n, t);
    if (std::fabs(t - e->GetData().GetEpoch(rec)) > kMaxAgeKepler) continue;
    long double tgd = 0.0L;
    e->CalcSatPosition(n, t, t, pos, &tgd, 0, 0);
    position = pos.GetXYZ();
    clock = pos.GetT();
    return std::isfinite(static_cast<double>(clock)) && position.GetLength() > 1e7L;
  }
  return false;
}

bool BroadcastOrbits::GlonassChannel(short sat, const mjd& t, int& channel) {
  const short n = satnum::NumberInSystem(sat);
  for (auto& e : glonass_) {
    if (!e->HasSat(n)) continue;
    // The channel of a slot changes only with the satellite in it.
    channel = static_cast<int>(std::lround(static_cast<double>(e->GetFreqChannel(n, t))));
    return true;
  }
  return false;
}
