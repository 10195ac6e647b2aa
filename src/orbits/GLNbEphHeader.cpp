#include "orbits/GLNbEphHeader.h"

#include "orbits/NavFile.h"

namespace {
const char* const kCls = "GLNbEph";
}  // namespace

GLNbEphHeader::GLNbEphHeader() : version(0), TauC(0), leaps(0) {
  type[0] = pgm[0] = runby[0] = date[0] = '\0';
}

bool GLNbEphHeader::Label(const std::string& line) {
  auto has = [&line](const char* label) { return line.find(label) != std::string::npos; };
  if (navfile::IdentityLabel(line, version, type, pgm, runby, date)) return true;
  if (has("CORR TO SYSTEM TIME")) {
    const long y = navfile::IntValue(line, 0, 6, kCls), m = navfile::IntValue(line, 6, 6, kCls),
               d = navfile::IntValue(line, 12, 6, kCls);
    if (y > 1900 && y < 2200 && m >= 1 && m <= 12 && d >= 1 && d <= 31)
      RefTimeCorr = ymdhms(y, m, d, 0, 0, 0.0L);
    TauC = navfile::Value(line, 20, 20, kCls);
  } else if (has("TIME SYSTEM CORR")) {
    // Version 3: "GLUT" carries the correction to UTC.
    if (line.compare(0, 4, "GLUT") == 0) TauC = navfile::Value(line, 5, 17, kCls);
  } else if (has("IONOSPHERIC CORR")) {
    // Version 3 mixed files: the coefficients of the other systems.
  } else if (has("LEAP SECONDS")) {
    leaps = static_cast<short>(navfile::IntValue(line, 0, 6, kCls));
  } else if (!has("COMMENT")) {
    return false;
  }
  return true;
}
