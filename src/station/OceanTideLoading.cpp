#include "station/OceanTideLoading.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "core/ProgramError.h"
#include "core/TextFields.h"
#include "core/spline.h"
#include "gnss/TimeConverse.h"
#include "station/TideTables.h"

using textfield::HasLabel;
using textfield::Real;
using textfield::RealOr;
using textfield::Take;
using textfield::Trim;

namespace {

const long double kPi = 3.141592653589793L;
const long double kDeg2Rad = 0.017453292519943295L;

const char* const kHeaderEnd = "$$ END HEADER";

// Loading amplitudes are centimetres at most and the lags are angles; a metre
// or more, or a lag beyond a full turn, is a damaged block.
bool Plausible(int row, long double v) {
  return row < 3 ? std::fabs(v) < 1.0L : std::fabs(v) <= 360.0L;
}

// The fundamental arguments (degrees) of the tidal expansion at T.
long double Poly(long double T, long double c0, long double c1, long double c2, long double c3,
                 long double c4) {
  return c0 + T * (c1 + T * (c2 + T * (c3 + T * c4)));
}

}  // namespace

OceanTideLoading::OceanTideLoading()
    : nstation(0),
      ixOTide(-1),
      AMP(11, 1, 0.0L),
      PHS(11, 1, 0.0L),
      AZ(342, 1, 0.0L),
      AW(342, 1, 0.0L),
      AS(342, 1, 0.0L),
      F(342, 1, 0.0L),
      PZ(342, 1, 0.0L),
      PW(342, 1, 0.0L),
      PS(342, 1, 0.0L),
      HCZ(342, 2, 0.0L),
      HCS(342, 2, 0.0L),
      HCW(342, 2, 0.0L),
      SCR(11, 1, 0.0L),
      RL(11, 1, 0.0L),
      AIM(11, 1, 0.0L),
      RF(11, 1, 0.0L),
      IXRF(11, 1, 0L),
      ARG(342, 1, 0.0L) {
  file[0] = '\0';
  for (int i = 0; i < 6; i++) {
    for (int k = 0; k < 11; k++) IDT[i][k] = tidetables::kBlqDoodson[k][i];
    for (int k = 0; k < 342; k++) IDD[i][k] = tidetables::kConstituentDoodson[k][i];
    D[i] = DD[i] = 0;
  }
  for (int k = 0; k < 342; k++) TAMP[k] = tidetables::kConstituentAmplitude[k];
  // Row of each BLQ tide in the constituent table.
  for (int m = 0; m < 11; m++) {
    ixTide[m] = -1;
    for (int k = 0; k < 342 && ixTide[m] < 0; k++) {
      bool same = true;
      for (int i = 0; i < 6 && same; i++) same = IDD[i][k] == IDT[i][m];
      if (same) ixTide[m] = k;
    }
  }
}

void OceanTideLoading::SetFile(const char* name) {
  std::snprintf(file, sizeof file, "%s", name);
}

void OceanTideLoading::Unreadable() const {
  ProgramError("Tervan", "OCEAN TIDE LOADING FILE CAN NOT BE READ!");
}

void OceanTideLoading::Corrupted() const {
  ProgramError("Tervan", "OCEAN TIDE LOADING FILE CORRUPTED!");
}

bool OceanTideLoading::NextBlock(std::istream& in, BlqBlock& b) {
  std::string line;
  b.truncated = false;
  b.position.clear();
  // Separator lines (blank or "$$" comments) before the name; "$$ END TABLE" ends the table.
  bool named = false;
  while (!named && std::getline(in, line)) {
    if (HasLabel(line, "$$ END TABLE")) return false;
    named = !Trim(line).empty() && line.compare(0, 2, "$$") != 0;
  }
  if (!named) return false;
  b.name = Trim(line);
  // Comment lines of the block; the one with the station position is kept.
  bool data = false;
  while (!data && std::getline(in, line)) {
    data = line.compare(0, 2, "$$") != 0;
    if (!data && HasLabel(line, "lon/lat")) b.position = line;
  }
  if (!data) {
    b.truncated = true;
    return true;
  }
  b.data[0] = line;
  for (int r = 1; r < 6 && !b.truncated; r++) b.truncated = !std::getline(in, b.data[r]);
  return true;
}

long OceanTideLoading::CountStations() {
  std::ifstream in(file);
  if (!in || !textfield::SkipPastLabel(in, kHeaderEnd)) Unreadable();
  long n = 0;
  BlqBlock b;
  while (NextBlock(in, b)) {
    n++;
    if (b.truncated) {
      char text[600];
      std::snprintf(text, sizeof text, "PROBLEM READING BLQ FILE: STATION NUMBER %3ld [%s]!", n,
                    b.name.substr(0, 500).c_str());
      ProgramWarning("Tervan", text);
      break;
    }
  }
  return n;
}

void OceanTideLoading::ParseBlock(const BlqBlock& b, otlData& d) {
  if (b.truncated) Corrupted();
  d.SetName(b.name.c_str());
  // The position comment is optional (a block without one is at 0 0 0), but a
  // position that is written and holds no number is a damaged block.
  long double lon = 0, lat = 0, h = 0;
  if (!Take(RealOr(b.position, 50, 10, 0.0L), lon) ||
      !Take(RealOr(b.position, 60, 10, 0.0L), lat) || !Take(RealOr(b.position, 70, 10, 0.0L), h))
    Corrupted();
  if (std::fabs(lon) > 360.0L || std::fabs(lat) > 90.0L || std::fabs(h) > 1e5L) Corrupted();
  d.gpos = flh(lat * kPi / 180.0L, lon * kPi / 180.0L, h);
  long double v[6][11];
  for (int r = 0; r < 6; r++)
    for (int i = 0; i < 11; i++)
      if (!Take(Real(b.data[r], 1 + 7 * i, 7), v[r][i]) || !Plausible(r, v[r][i])) Corrupted();
  for (int i = 0; i < 11; i++) {
    d.AMP(i) = neu(v[2][i], v[1][i], v[0][i]);
    d.PHS(i) = neu(-v[5][i], -v[4][i], -v[3][i]);
  }
}

void OceanTideLoading::ReadFile() {
  nstation = CountStations();
  ixOTide = -1;
  OTL.Resize(nstation);
  std::ifstream in(file);
  if (!in || !textfield::SkipPastLabel(in, kHeaderEnd)) Unreadable();
  BlqBlock b;
  for (long i = 0; i < nstation; i++) {
    if (!NextBlock(in, b)) Corrupted();
    ParseBlock(b, OTL(i));
  }
}

void OceanTideLoading::SetStation(const char* name) {
  ixOTide = -1;
  for (long i = 0; i < nstation; i++)
    if (std::strcmp(OTL(i).pt, name) == 0) {
      ixOTide = i;
      return;
    }
  const std::string text = "STATION NAME -" + std::string(name) +
                           "- NOT LISTED IN BLQ FILE > SETTING ALL DISPLACEMENTS TO ZERO!";
  ProgramWarning("Tervan", text);
}

void OceanTideLoading::SetDoodsonPhasFreq(const mjd& t) {
  const long double delta = LeapSecond(t) + 19.0L + 32.184L;
  const long double T = (t.GetMJDDec() - 51544.5L + delta / 86400.0L) / 36525.0L;
  const long double l =
      Poly(T, 134.9634025100L, 477198.8675605000L, 0.0088553333L, 0.0000143431L, -0.0000000680L);
  const long double lp =
      Poly(T, 357.5291091806L, 35999.0502911389L, -0.0001536667L, 0.0000000378L, -0.0000000032L);
  const long double f =
      Poly(T, 93.2720906200L, 483202.0174577222L, -0.0035420000L, -0.0000002881L, 0.0000000012L);
  const long double d =
      Poly(T, 297.8501954694L, 445267.1114469445L, -0.0017696111L, 0.0000018314L, -0.0000000088L);
  const long double om =
      Poly(T, 125.0445550100L, -1934.1362619722L, 0.0020756111L, 0.0000021394L, -0.0000000165L);
  D[0] = 360.0L * t.GetSecond() / 86400.0L - d;
  D[1] = f + om;
  D[2] = D[1] - d;
  D[3] = D[1] - l;
  D[4] = -om;
  D[5] = D[2] - lp;
  const long double fd1 = 0.0362916471L + 0.0000000013L * T;
  const long double fd2 = 0.0027377786L;
  const long double fd3 = 0.0367481951L - 0.0000000005L * T;
  const long double fd4 = 0.0338631920L - 0.0000000003L * T;
  const long double fd5 = -0.0001470938L + 0.0000000003L * T;
  DD[0] = 1.0L - fd4;
  DD[1] = fd3 + fd5;
  DD[2] = DD[1] - fd4;
  DD[3] = DD[1] - fd1;
  DD[4] = -fd5;
  DD[5] = DD[2] - fd2;
}

void OceanTideLoading::TDFRPH(const int idd[6], long double& freq, long double& phase) const {
  freq = 0;
  phase = 0;
  for (int i = 0; i < 6; i++) {
    freq += idd[i] * DD[i];
    phase += idd[i] * D[i];
  }
  phase = std::fmod(phase, 360.0L);
  if (phase < 0) phase += 360.0L;
}

void OceanTideLoading::Band::Fit() {
  spline(x, re, sre);
  spline(x, im, sim);
}

void OceanTideLoading::Band::At(long double f, long double& r, long double& i) const {
  r = i = 0;
  if (x.Length() == 0) return;
  r = Evaluate(x, re, f, sre);
  i = Evaluate(x, im, f, sim);
}

void OceanTideLoading::SetArguments() {
  for (long k = 0; k < 342; k++) {
    const int idd[6] = {IDD[0][k], IDD[1][k], IDD[2][k], IDD[3][k], IDD[4][k], IDD[5][k]};
    long double p;
    TDFRPH(idd, F(k), p);
    // Species phase offsets of the tide-potential convention.
    if (idd[0] == 0) p += 180.0L;
    if (idd[0] == 1) p += 90.0L;
    ARG(k) = p;
  }
}

long OceanTideLoading::InputAdmittance() {
  long n = 0;
  for (long m = 0; m < 11; m++) {
    const long k = ixTide[m];
    if (k < 0) continue;
    RL(n) = AMP(m) * std::cos(kDeg2Rad * PHS(m)) / std::fabs(TAMP[k]);
    AIM(n) = AMP(m) * std::sin(kDeg2Rad * PHS(m)) / std::fabs(TAMP[k]);
    RF(n) = F(k);
    n++;
  }
  return n;
}

void OceanTideLoading::FitBands(long n, Band band[3]) {
  // Sorted by frequency, then split into long-period, diurnal and semidiurnal tides.
  for (long i = 0; i < n; i++) IXRF(i) = i;
  for (long i = 1; i < n; i++)
    for (long j = i; j > 0 && RF(IXRF(j)) < RF(IXRF(j - 1)); j--) std::swap(IXRF(j), IXRF(j - 1));
  long count[3] = {0, 0, 0};
  for (long i = 0; i < n; i++) {
    const long double f = RF(IXRF(i));
    if (f < 0.5L) count[0]++;
    if (f < 1.5L && f > 0.5L) count[1]++;
    if (f < 2.5L && f > 1.5L) count[2]++;
  }
  long first = 0;
  for (int b = 0; b < 3; b++) {
    band[b].x.Resize(count[b]);
    band[b].re.Resize(count[b]);
    band[b].im.Resize(count[b]);
    for (long i = 0; i < count[b]; i++) {
      const long k = IXRF(first + i);
      band[b].x(i) = RF(k);
      band[b].re(i) = RL(k);
      band[b].im(i) = AIM(k);
    }
    first += count[b];
    if (count[b] > 0) band[b].Fit();
  }
}

void OceanTideLoading::ADMINT(matrix<long double>& amp, matrix<long double>& phs) {
  Band band[3];
  FitBands(InputAdmittance(), band);
  for (long k = 0; k < 342; k++) {
    amp(k) = 0;
    phs(k) = 0;
    const int species = IDD[0][k];
    // Without long-period input tides there is no long-period admittance.
    if (species < 0 || species > 2 || band[species].x.Length() == 0) continue;
    long double re, im;
    band[species].At(F(k), re, im);
    amp(k) = TAMP[k] * std::sqrt(re * re + im * im);
    long double p = ARG(k) + std::atan2(im, re) / kDeg2Rad;
    if (p > 180.0L) p -= 360.0L;
    phs(k) = p;
  }
}

long double OceanTideLoading::RECURS(const matrix<long double>& amp, const matrix<long double>& phs,
                                     matrix<long double>& hc) {
  long double sum = 0;
  for (long k = 0; k < 342; k++) {
    const long double p = phs(k) * kDeg2Rad;
    hc(k, 0) = amp(k) * std::cos(p);
    hc(k, 1) = -amp(k) * std::sin(p);
    sum += hc(k, 0);
  }
  return sum;
}

void OceanTideLoading::GetDisplacement(const mjd& t, neu& d) {
  d = neu(0, 0, 0);
  if (ixOTide < 0) return;
  SetDoodsonPhasFreq(t);
  SetArguments();
  const otlData& s = OTL(ixOTide);
  matrix<long double>* out[3][2] = {{&AZ, &PZ}, {&AW, &PW}, {&AS, &PS}};
  for (int c = 0; c < 3; c++) {
    for (long i = 0; i < 11; i++) {
      AMP(i) = c == 0 ? s.AMP(i).GetU() : c == 1 ? s.AMP(i).GetE() : s.AMP(i).GetN();
      PHS(i) = c == 0 ? s.PHS(i).GetU() : c == 1 ? s.PHS(i).GetE() : s.PHS(i).GetN();
    }
    ADMINT(*out[c][0], *out[c][1]);
  }
  const long double up = RECURS(AZ, PZ, HCZ);
  const long double west = RECURS(AW, PW, HCW);
  const long double south = RECURS(AS, PS, HCS);
  d = neu(-south, -west, up);
}
