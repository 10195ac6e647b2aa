#include "atmosphere/gTM_GPT2.h"

#include <cmath>
#include <cstdio>
#include <fstream>

#include "atmosphere/TropoFormulas.h"
#include "core/ProgramError.h"
#include "core/TextFields.h"
#include "core/sInterpolation.h"

namespace {

const int kValues = 34;  // numbers in one grid line

// Reads the first n numbers of a line; false when the line holds fewer.
bool ReadNumbers(const std::string& line, long double* out, int n) {
  const char* s = line.c_str();
  const char* const end = s + line.size();
  for (int k = 0; k < n; k++)
    if (!textfield::ParseDecimal(s, end, out[k], &s)) return false;
  return true;
}

// Grid index of x in a grid starting at x0 with spacing d, within 0..last.
long GridIndex(long double x, long double x0, long double d, long last) {
  const long double k = std::floor((x - x0) / d + 1e-9L);
  if (!(k > 0.0L)) return 0;
  if (k > static_cast<long double>(last)) return last;
  return static_cast<long>(k);
}

}  // namespace

gTM_GPT2::gTM_GPT2()
    : nL(0),
      nF(0),
      nLine(0),
      minF(0.0L),
      maxF(0.0L),
      minL(0.0L),
      maxL(0.0L),
      dF(0.0L),
      dL(0.0L),
      gMean(9.80665L),
      dMtr(0.028965L),
      Rg(8.3143L),
      gPt(1.0L),
      F1(0.0L),
      F2(0.0L),
      L1(0.0L),
      L2(0.0L),
      ptF(0.0L),
      ptL(0.0L),
      pth(0.0L),
      IX{{0, 0}, {0, 0}, {0, 0}, {0, 0}},
      aH(0.0L),
      aW(0.0L),
      p(0.0L),
      T(0.0L),
      Q(0.0L) {
  file[0] = '\0';
}

void gTM_GPT2::SetFile(const char* name) {
  std::snprintf(file, sizeof(file), "%s", name);
}

void gTM_GPT2::Corrupt(const std::string& what) const {
  FileError("gTM_GPT2", "GRID DATA FILE FOR GPT2 TROPOSHPERE MODEL CORRUPTED (" + what + ")!");
}

void gTM_GPT2::ReadFile() {
  CheckLayout();
  ReadGrid();
}

// First pass: the grid limits and spacings from the coordinates of every line.
void gTM_GPT2::CheckLayout() {
  std::ifstream in(file);
  if (!in) FileError("gTM_GPT2", std::string("GPT2 GRID FILE CAN NOT BE OPENED [") + file + "]!");
  std::string line;
  if (!std::getline(in, line)) Corrupt("READING HEADER");
  long double c1[2], c2[2];
  if (!std::getline(in, line) || !ReadNumbers(line, c1, 2)) Corrupt("READING 1. DATA LINE");
  if (!std::getline(in, line) || !ReadNumbers(line, c2, 2)) Corrupt("READING 2. DATA LINE");
  if (std::fabs(c2[0] - c1[0]) > 0.01L) Corrupt("LATITUDE 1 - 2");
  if (c1[1] >= c2[1]) Corrupt("LONGITUDE 1 <= LONGITUDE 2");
  minF = maxF = c1[0];
  dF = 0.0L;
  minL = c1[1];
  maxL = c2[1];
  dL = c2[1] - c1[1];
  nLine = 2;
  long double Fprev = c2[0], Lprev = c2[1];
  while (std::getline(in, line)) {
    long double c[2];
    if (!ReadNumbers(line, c, 2)) {
      if (textfield::IsBlank(line)) continue;  // blank lines are no data lines
      Corrupt("READING " + std::to_string(nLine + 1) + ". DATA LINE");
    }
    const long double F = c[0], L = c[1];
    if (std::fabs(F - Fprev) < 0.001L) {
      if (L > Lprev && std::fabs(dL + Lprev - L) > 0.001L) dL = L - Lprev;
      minL = std::fmin(minL, L);
      maxL = std::fmax(maxL, L);
    } else {
      if (std::fabs(dF - std::fabs(Fprev - F)) > 0.001L) dF = std::fabs(Fprev - F);
      minF = std::fmin(minF, F);
      maxF = std::fmax(maxF, F);
    }
    nLine++;
    Fprev = F;
    Lprev = L;
  }
  const long double nLd = std::floor((maxL - minL) / dL + 1e-9L) + 1.0L;
  const long double nFd = dF > 0.0L ? std::floor((maxF - minF) / dF + 1e-9L) + 1.0L : 1.0L;
  if (!(nLd * nFd == static_cast<long double>(nLine))) Corrupt("#LONGITUDE, #LATITUDE");
  nL = static_cast<long>(nLd);
  nF = static_cast<long>(nFd);
}

// Second pass: every grid line into its cell.
void gTM_GPT2::ReadGrid() {
  pG.Resize(nF, nL);
  tG.Resize(nF, nL);
  qG.Resize(nF, nL);
  dtG.Resize(nF, nL);
  aWG.Resize(nF, nL);
  aHG.Resize(nF, nL);
  hN.Resize(nF, nL, 0.0L);
  hH.Resize(nF, nL, 0.0L);
  matrix<bool> filled(nF, nL, false);

  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  const long double saved = gpt2ns::scale;
  for (long k = 0; k < nLine; k++) {
    long double v[kValues];
    bool got = false;
    while ((got = static_cast<bool>(std::getline(in, line))) && textfield::IsBlank(line)) {
    }
    if (!got || !ReadNumbers(line, v, kValues))
      Corrupt("READING " + std::to_string(k + 1) + ". DATA LINE");
    const long i = GridIndex(v[0], minF, dF > 0.0L ? dF : 1.0L, nF - 1);
    const long j = GridIndex(v[1], minL, dL, nL - 1);
    if (filled(i, j)) Corrupt("GRID POINT " + std::to_string(k + 1) + ". DATA LINE REPEATED");
    filled(i, j) = true;
    gpt2ns::scale = 1.0L;
    pG(i, j).Set(v + 2);
    tG(i, j).Set(v + 7);
    gpt2ns::scale = 0.001L;
    qG(i, j).Set(v + 12);
    dtG(i, j).Set(v + 17);
    hN(i, j) = v[22];
    hH(i, j) = v[23];
    aHG(i, j).Set(v + 24);
    aWG(i, j).Set(v + 29);
  }
  gpt2ns::scale = saved;
}

void gTM_GPT2::SetAtmParams(long double lat, long double lon, long double h) {
  ptF = lat / tropns::deg;
  ptL = lon / tropns::deg;
  pth = h;
  gPt = TropGravityFactor(lat, h);
  // A longitude west of the first grid column (a negative one with a grid from 0 to 360
  // degrees) is taken one turn east, so that the wrap-around cell and every other cell see
  // the station at the longitude of the grid's own span.
  if (std::isfinite(ptL)) {
    ptL = minL + std::fmod(ptL - minL, 360.0L);
    if (ptL < minL) ptL += 360.0L;
  }
  SelectCell();
}

void gTM_GPT2::SelectCell() {
  long iF1, iF2, iL1, iL2;
  if (ptF < minF) {
    iF1 = iF2 = 0;
  } else if (ptF >= maxF) {
    iF1 = iF2 = nF - 1;
  } else {
    iF1 = GridIndex(ptF, minF, dF, nF - 2);
    iF2 = iF1 + 1;
  }
  F1 = minF + dF * iF1;
  F2 = minF + dF * iF2;
  if (ptL < minL || ptL >= maxL) {
    iL1 = nL - 1;
    iL2 = 0;
  } else {
    iL1 = GridIndex(ptL, minL, dL, nL - 2);
    iL2 = iL1 + 1;
  }
  L1 = minL + dL * iL1;
  L2 = minL + dL * iL2;
  if (iL2 < iL1) L2 = L1 + dL;
  // The wrap-around cell joins the last column to the first only on a grid that closes the
  // circle; on a regional grid a station east or west of it has no cell.
  const bool closed = std::fabs(maxL + dL - (minL + 360.0L)) < 0.001L;
  if (iL2 < iL1 && !closed && ptL > maxL + 1e-9L)
    FileError("gTM_GPT2", "STATION LONGITUDE OUTSIDE THE GPT2 GRID!");
  const long corners[4][2] = {{iF1, iL1}, {iF1, iL2}, {iF2, iL2}, {iF2, iL1}};
  for (int k = 0; k < 4; k++) {
    IX[k][0] = corners[k][0];
    IX[k][1] = corners[k][1];
  }
}

// Station value from the four corner values (bilinear; linear along the longitude when the
// station lies beyond the outermost grid latitude).
long double gTM_GPT2::Interpolate(const long double* z) const {
  if (IX[0][0] == IX[2][0]) return LinearInterpolate(ptL, L1, L2, z[0], z[1]);
  return BiLinearInterpolate(ptL, ptF, L1, L2, F1, F2, z[0], z[1], z[2], z[3]);
}

void gTM_GPT2::GetZenithDelay(long mjday, long double& tdry, long double& twet) {
  if (nL == 0 || nF == 0) {
    tdry = twet = aH = aW = 0.0L;
    return;
  }
  const long double t = static_cast<long double>(mjday) - 51544.5L;
  long double pk[4], Tk[4], Qk[4], ahk[4], awk[4];
  for (int k = 0; k < 4; k++) {
    const long i = IX[k][0], j = IX[k][1];
    const long double hgt = pth - hN(i, j);
    const long double redh = hgt - hH(i, j);
    const long double T0k = tG(i, j).Seasonal(t);
    const long double p0k = pG(i, j).Seasonal(t);
    Qk[k] = qG(i, j).Seasonal(t);
    const long double dTk = dtG(i, j).Seasonal(t);
    ahk[k] = aHG(i, j).Seasonal(t);
    awk[k] = aWG(i, j).Seasonal(t);
    Tk[k] = T0k + dTk * redh - 273.15L;
    const long double Tv = T0k * (1.0L + 0.6077L * Qk[k]);
    const long double c = gMean * dMtr / (Rg * Tv);
    pk[k] = p0k * std::exp(-c * redh) / 100.0L;
  }
  p = Interpolate(pk);
  T = Interpolate(Tk);
  Q = Interpolate(Qk);
  aH = Interpolate(ahk);
  aW = Interpolate(awk);
  const long double e = Q * p / (0.622L + 0.378L * Q);
  tdry = 0.002277L * p / gPt;
  twet = 0.002277L * (1255.0L / (T + 273.15L) + 0.05L) * e / gPt;
}
