#include "orbits/GPSbEphHeader.h"

#include "orbits/NavFile.h"

namespace {
const char* const kCls = "GPSbEph";
}  // namespace

GPSbEphHeader::GPSbEphHeader()
    : version(0), a0(0), a1(0), T(0), W(0), leaps(0), alfa{0, 0, 0, 0}, beta{0, 0, 0, 0} {
  type[0] = pgm[0] = runby[0] = date[0] = '\0';
}

void GPSbEphHeader::Ionosphere(const std::string& line, size_t first, long double* out) {
  for (int i = 0; i < 4; i++) out[i] = navfile::Value(line, first + 12 * i, 12, kCls);
}

bool GPSbEphHeader::Label(const std::string& line) {
  auto has = [&line](const char* label) { return line.find(label) != std::string::npos; };
  if (navfile::IdentityLabel(line, version, type, pgm, runby, date)) return true;
  if (has("ION ALPHA")) {
    Ionosphere(line, 2, alfa);
  } else if (has("ION BETA")) {
    Ionosphere(line, 2, beta);
  } else if (has("DELTA-UTC: A0,A1,T,W")) {
    a0 = navfile::Value(line, 3, 19, kCls);
    a1 = navfile::Value(line, 22, 19, kCls);
    T = static_cast<int32_t>(navfile::IntValue(line, 41, 9, kCls));
    W = static_cast<int32_t>(navfile::IntValue(line, 50, 9, kCls));
  } else if (has("IONOSPHERIC CORR")) {
    // Version 3: "GPSA" and "GPSB" carry the Klobuchar coefficients.
    if (line.compare(0, 4, "GPSA") == 0) Ionosphere(line, 5, alfa);
    if (line.compare(0, 4, "GPSB") == 0) Ionosphere(line, 5, beta);
  } else if (has("TIME SYSTEM CORR")) {
    if (line.compare(0, 4, "GPUT") == 0) {
      a0 = navfile::Value(line, 5, 17, kCls);
      a1 = navfile::Value(line, 22, 16, kCls);
      T = static_cast<int32_t>(navfile::IntValue(line, 38, 7, kCls));
      W = static_cast<int32_t>(navfile::IntValue(line, 45, 5, kCls));
    }
  } else if (has("LEAP SECONDS")) {
    leaps = static_cast<short>(navfile::IntValue(line, 0, 6, kCls));
  } else if (!has("COMMENT")) {
    return false;
  }
  return true;
}
