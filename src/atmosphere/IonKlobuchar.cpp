#include "atmosphere/IonKlobuchar.h"

#include <cmath>
#include <istream>
#include <string>

#include "core/ProgramError.h"
#include "core/TextFields.h"

IonKlobuchar::IonKlobuchar()
    : version(0.0f),
      type{},
      pgm{},
      runby{},
      date{},
      a0(0.0L),
      a1(0.0L),
      T(0),
      W(0),
      leaps(0),
      alfa{0.0L, 0.0L, 0.0L, 0.0L},
      beta{0.0L, 0.0L, 0.0L, 0.0L} {}

using namespace textfield;

namespace {

// Header numbers: a blank field reads as 0 (as RINEX leaves unknown values blank),
// anything else that is no number is a framed error.
const FieldSource kSource{"Klobuchar iono", "NAVIGATION HEADER"};

long double Number(const std::string& line, size_t pos, size_t len) {
  return Need(RealOr(line, pos, len, 0.0L), kSource, line, pos, len);
}

long Integer(const std::string& line, size_t pos, size_t len) {
  return Need(IntOr(line, pos, len, 0), kSource, line, pos, len);
}

// A coefficient the model cannot use in double precision stops the reading.
void CheckCoefficients(const long double* c) {
  for (int k = 0; k < 4; k++)
    if (!std::isfinite(static_cast<double>(c[k])))
      FileError("Klobuchar iono", "KLOBUCHAR COEFFICIENTS NOT VALID!");
}

// Four coefficients of an ION ALPHA / ION BETA line: mantissa in columns 2+12k..9+12k,
// power of ten in columns 11+12k..13+12k.
void ReadCoefficients(const std::string& line, long double* c) {
  for (int k = 0; k < 4; k++) {
    const long double mant = Number(line, 2 + 12 * k, 8);
    const long expo = Integer(line, 11 + 12 * k, 3);
    c[k] = mant * std::pow(10.0L, static_cast<long double>(expo));
  }
  CheckCoefficients(c);
}

// The same coefficients on a GPSA / GPSB line of a RINEX 3 header: four numbers of 12
// columns from column 5.
void ReadCorrections(const std::string& line, long double* c) {
  for (int k = 0; k < 4; k++) c[k] = Number(line, 5 + 12 * k, 12);
  CheckCoefficients(c);
}

}  // namespace

std::istream& operator>>(std::istream& in, IonKlobuchar& k) {
  std::string line;
  while (std::getline(in, line)) {
    if (HasLabel(line, "END OF HEADER")) break;
    k.ReadLine(line.c_str());
  }
  return in;
}

void IonKlobuchar::ReadLine(const char* text) {
  const std::string line(text);
  // Comments first: their free text may name any label.
  if (HasLabel(line, "COMMENT")) return;
  if (HasLabel(line, "RINEX VERSION / TYPE")) {
    version = static_cast<float>(Number(line, 0, 9));
    CopyText(type, sizeof(type), Trimmed(line, 20, 19));
    if (type[0] != 'N') FileError("Klobuchar iono", "FILE VERSION IS NOT \"NAVIGATION DATA\"!!");
  } else if (HasLabel(line, "PGM / RUN BY / DATE")) {
    CopyText(pgm, sizeof(pgm), Trimmed(line, 0, 20));
    CopyText(runby, sizeof(runby), Trimmed(line, 20, 20));
    CopyText(date, sizeof(date), Trimmed(line, 40, 20));
  } else if (HasLabel(line, "ION ALPHA")) {
    ReadCoefficients(line, alfa);
  } else if (HasLabel(line, "ION BETA")) {
    ReadCoefficients(line, beta);
  } else if (HasLabel(line, "IONOSPHERIC CORR")) {
    // RINEX 3 headers list the corrections of every system; Klobuchar takes those of GPS.
    if (line.compare(0, 4, "GPSA") == 0) ReadCorrections(line, alfa);
    if (line.compare(0, 4, "GPSB") == 0) ReadCorrections(line, beta);
  } else if (HasLabel(line, "DELTA-UTC: A0,A1,T,W")) {
    a0 = Number(line, 3, 15) * std::pow(10.0L, Integer(line, 19, 3));
    a1 = Number(line, 22, 15) * std::pow(10.0L, Integer(line, 38, 3));
    T = Integer(line, 41, 9);
    W = Integer(line, 50, 9);
  } else if (HasLabel(line, "LEAP SECONDS")) {
    leaps = static_cast<short>(Integer(line, 0, 6));
  } else {
    ClassWarning("IonKlobuchar", Cut(line, 60, 20) + " -> UNKNOWN HEADER LABEL");
  }
}

double IonKlobuchar::CalcIonDelay(double lat, double lon, double elev, double azim,
                                  double sod) const {
  const double pi = 3.141592653589793;
  const double E = elev / 180.0, fu = lat / 180.0, lu = lon / 180.0, A = azim * pi / 180.0;
  const double psi = 0.0137 / (E + 0.11) - 0.022;
  double fi = fu + psi * std::cos(A);
  if (fi > 0.416) fi = 0.416;
  if (fi < -0.416) fi = -0.416;
  const double li = lu + psi * std::sin(A) / std::cos(fi * pi);
  const double fm = fi + 0.064 * std::cos((li - 1.617) * pi);
  double t = 43200.0 * li + sod;
  if (t > 86400.0) t -= 86400.0;
  if (t < 0.0) t += 86400.0;
  const double al[4] = {double(alfa[0]), double(alfa[1]), double(alfa[2]), double(alfa[3])};
  const double be[4] = {double(beta[0]), double(beta[1]), double(beta[2]), double(beta[3])};
  double per = be[0] + fm * (be[1] + fm * (be[2] + fm * be[3]));
  if (per < 72000.0) per = 72000.0;
  const double x = 2.0 * pi * (t - 50400.0) / per;
  const double F = 1.0 + 16.0 * std::pow(0.53 - E, 3);
  double amp = al[0] + fm * (al[1] + fm * (al[2] + fm * al[3]));
  if (amp < 0.0) amp = 0.0;
  const double delay = std::fabs(x) > 1.57
                           ? F * 5e-9
                           : F * (5e-9 + amp * (1.0 - x * x / 2.0 + x * x * x * x / 24.0));
  return delay * 299792458.0;
}
