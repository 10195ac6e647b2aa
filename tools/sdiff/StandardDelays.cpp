#include "sdiff/StandardDelays.h"

#include <fstream>
#include <sstream>

#include "core/TextFields.h"

using textfield::Padded;
using textfield::Trimmed;

namespace {
constexpr long double kDeg = 180.0L / 3.141592653589793L;
}

StandardDelays::StandardDelays(const std::vector<std::string>& navFiles) {
  for (const std::string& f : navFiles)
    if (ReadKlobuchar(f)) break;
}

bool StandardDelays::ReadKlobuchar(const std::string& path) {
  std::ifstream in(path);
  std::string line, alpha, beta;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string label = Trimmed(line, 60);
    if (label.compare(0, 9, "ION ALPHA") == 0) alpha = line;
    if (label.compare(0, 8, "ION BETA") == 0) beta = line;
    // RINEX 3 coefficients take the RINEX 2 layout (two blanks, 4D12.4).
    if (label.compare(0, 16, "IONOSPHERIC CORR") == 0 && line.compare(0, 4, "GPSA") == 0)
      alpha = "  " + Padded(line, 5, 48) + std::string(10, ' ') + "ION ALPHA";
    if (label.compare(0, 16, "IONOSPHERIC CORR") == 0 && line.compare(0, 4, "GPSB") == 0)
      beta = "  " + Padded(line, 5, 48) + std::string(10, ' ') + "ION BETA";
    if (label.compare(0, 13, "END OF HEADER") == 0) break;
  }
  if (alpha.empty() || beta.empty()) return false;
  std::istringstream header(alpha + "\n" + beta + "\n" + std::string(60, ' ') + "END OF HEADER\n");
  header >> klobuchar_;
  hasIono_ = klobuchar_.GetAlfa()[0] != 0.0L || klobuchar_.GetBeta()[0] != 0.0L;
  return hasIono_;
}

long double StandardDelays::Troposphere(long double lat, long double height, long double elevation,
                                        long mjdDay) {
  if (lat != lat_ || height != height_) {
    lat_ = lat;
    height_ = height;
    saast_.SetAtmParams(lat, height);
    saast_.GetZenithDelay(zdry_, zwet_);
    niell_.SetAtmParams(lat, height);
  }
  long double mfd, mfw;
  niell_.GetMappFunction(mjdDay, height, elevation, mfd, mfw);
  return zdry_ * mfd + zwet_ * mfw;
}

long double StandardDelays::IonosphereL1(long double lat, long double lon, long double elevation,
                                         long double azimuth, long double secondOfDay) {
  if (!hasIono_) return 0.0L;
  return klobuchar_.CalcIonDelay(static_cast<double>(lat * kDeg), static_cast<double>(lon * kDeg),
                                 static_cast<double>(elevation * kDeg),
                                 static_cast<double>(azimuth * kDeg),
                                 static_cast<double>(secondOfDay));
}
