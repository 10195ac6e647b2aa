#include "sdiff/PhsDiffData.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <istream>
#include <ostream>
#include <string>

#include "core/LineReader.h"
#include "core/ProgramError.h"
#include "core/TextFields.h"
#include "gnss/GNSSLinCombs.h"
#include "gnss/SatelliteNumbering.h"
#include "gnss/mGNSSc.h"
#include "sdiff/ArcStepSearch.h"
#include "sdiff/LocalNoise.h"

using textfield::FieldRange;
using textfield::ParseDecimal;
using textfield::ParseInteger;

namespace {

constexpr size_t kDataLine = 1023;  // data lines are read up to this length
constexpr size_t kField = 17;       // width of one observation field
constexpr size_t kFirstField = 3;   // the satellite number occupies columns 0 to 2
constexpr long kMaxEpochRecords = satnum::kMaxSatNumber;
constexpr long double kL4NoiseSigmas = 6;  // L4 slip limit in sigmas of the second differences

std::string AtLine(const char* text, long lineNo) {
  return std::string(text) + " (LINE " + std::to_string(lineNo) + ")!";
}

// Next line that is not blank; false at the end of the input.
bool NextNonBlank(LineReader& lr, const char*& p, size_t& n) {
  while (lr.Next(p, n)) {
    for (size_t i = 0; i < n; ++i)
      if (p[i] != ' ' && p[i] != '\t') return true;
  }
  return false;
}

}  // namespace

PhsDiffData::PhsDiffData(PhsDiffHeader& head) : rhead(head) {
  AmbFile[0] = '\0';
}

void PhsDiffData::SetNRecords(long nepoch, long nobsall) {
  neph = nepoch;
  nobs = nobsall;
}

matrix<gnssobs>* PhsDiffData::ObsMatrix(int code) {
  switch (code) {
    case sdobs::C1:
      return &C1;
    case sdobs::P1:
      return &P1;
    case sdobs::P2:
      return &P2;
    case sdobs::L1:
      return &L1;
    case sdobs::L2:
      return &L2;
    case sdobs::C2:
      return &C2;
    case sdobs::C5:
      return &C5;
    case sdobs::L5:
      return &L5;
    case sdobs::C7:
      return &C7;
    case sdobs::L7:
      return &L7;
    case sdobs::C8:
      return &C8;
    case sdobs::L8:
      return &L8;
    default:
      return nullptr;
  }
}

matrix<gnssobsshort>* PhsDiffData::DopplerMatrix(int code) {
  if (code == sdobs::D1) return &D1;
  if (code == sdobs::D2) return &D2;
  return nullptr;
}

void PhsDiffData::SetData() {
  epoch.Resize(neph);
  nsat.Resize(neph);
  clkErB.Resize(neph);
  dtR_B.Resize(neph);
  clkErR.Resize(neph);
  sat.Resize(nobs);
  for (int code = 0; code < sdobs::NTYPES; ++code) {
    if (!rhead.HasType(code)) continue;
    if (matrix<gnssobs>* m = ObsMatrix(code)) m->Resize(nobs, 1, gnssobs());
    if (matrix<gnssobsshort>* m = DopplerMatrix(code)) m->Resize(nobs, 1, gnssobsshort());
  }
}

long PhsDiffData::EpochCount(const char* line, size_t len, long lineNo) {
  long n = 0;
  if (!ParseInteger(line, line + len, n) || n < 0 || n > kMaxEpochRecords)
    ProgramError("Tervan", AtLine("INVALID NUMBER OF SATELLITES IN EPOCH LINE OF SINGLE "
                                  "DIFFERENCES FILE",
                                  lineNo));
  return n;
}

// Epoch line: records, MJD, seconds of day, then three clock values in
// microseconds (missing clock values read as 0).
void PhsDiffData::ReadEpochLine(const char* line, size_t len, long ep, long lineNo) {
  const char* end = line + len;
  const char* p = line;
  long n = EpochCount(line, len, lineNo), day = 0;
  long double sec = 0;
  ParseInteger(p, end, n, &p);
  if (!ParseInteger(p, end, day, &p) || !ParseDecimal(p, end, sec, &p))
    ProgramError("Tervan", AtLine("INVALID EPOCH IN SINGLE DIFFERENCES FILE", lineNo));
  long double clk[3] = {0, 0, 0};
  for (int i = 0; i < 3; ++i)
    if (!ParseDecimal(p, end, clk[i], &p)) break;
  nsat(ep) = static_cast<short>(n);
  epoch(ep) = mjd(day, sec);
  dtR_B(ep) = clk[0] * 1e-6L;
  clkErB(ep) = clk[1] * 1e-6L;
  clkErR(ep) = clk[2] * 1e-6L;
}

void PhsDiffData::Read(LineReader& lr) {
  if (!rhead.HasObservations) return;
  SetData();
  const long ntypes = rhead.nobs;
  std::vector<gnssobs*> obsCol(static_cast<size_t>(ntypes), nullptr);
  std::vector<gnssobsshort*> dopCol(static_cast<size_t>(ntypes), nullptr);
  for (long k = 0; k < ntypes; ++k) {
    if (matrix<gnssobs>* m = ObsMatrix(rhead.obs(k))) obsCol[k] = m->v;
    if (matrix<gnssobsshort>* m = DopplerMatrix(rhead.obs(k))) dopCol[k] = m->v;
  }
  bool seen[satnum::kMaxSatNumber + 1] = {};
  long rec = 0;
  const char* p;
  size_t n;
  for (long ep = 0; ep < neph; ++ep) {
    if (!NextNonBlank(lr, p, n))
      ProgramError("Tervan", "SINGLE DIFFERENCES FILE ENDS BEFORE ITS LAST EPOCH!");
    ReadEpochLine(p, n, ep, lr.LineNumber());
    if (rec + nsat(ep) > nobs)
      ProgramError("Tervan",
                   AtLine("MORE RECORDS IN SINGLE DIFFERENCES FILE THAN COUNTED", lr.LineNumber()));
    for (long i = 0; i < nsat(ep); ++i, ++rec) {
      if (!lr.Next(p, n))
        ProgramError("Tervan", "SINGLE DIFFERENCES FILE ENDS INSIDE ITS LAST EPOCH!");
      size_t len = n < kDataLine ? n : kDataLine;
      long s = 0;
      if (!ParseInteger(p, p + len, s) || s < 1 || s > satnum::kMaxSatNumber)
        ProgramError("Tervan", AtLine("SATELLITE NUMBER NOT IN RANGE [1-699] IN SINGLE "
                                      "DIFFERENCES FILE",
                                      lr.LineNumber()));
      sat.v[rec] = static_cast<short>(s);
      seen[s] = true;
      for (long k = 0; k < ntypes; ++k) {
        if (!obsCol[k] && !dopCol[k]) continue;
        const char *b, *e;
        FieldRange(p, len, kFirstField + kField * static_cast<size_t>(k), kField, b, e);
        long double v = 0;
        ParseDecimal(b, e, v);  // a field that is not a number is a missing value
        if (obsCol[k]) obsCol[k][rec] = v;
        if (dopCol[k]) dopCol[k][rec] = v;
      }
    }
  }
  if (rec != nobs) ProgramError("Tervan", "FEWER RECORDS IN SINGLE DIFFERENCES FILE THAN COUNTED!");
  SetIntervalAndSatList(seen);
}

void PhsDiffData::SetIntervalAndSatList(const bool* seen) {
  long count = 0;
  for (int s = 1; s <= satnum::kMaxSatNumber; ++s) count += seen[s] ? 1 : 0;
  satList.Resize(count);
  for (int s = 1, i = 0; s <= satnum::kMaxSatNumber; ++s)
    if (seen[s]) satList(i++) = static_cast<short>(s);
  if (neph < 2) ProgramError("Tervan", "SINGLE DIFFERENCES FILE HAS FEWER THAN TWO EPOCHS!");
  long double interval = epoch(1) - epoch(0);
  for (long i = 1; i < neph; ++i) {
    long double d = epoch(i) - epoch(i - 1);
    if (d < 0)
      ProgramError(
          "Tervan",
          "PROBLEMS WITH CONSECUTIVE EPOCHS IN SINGLE DIFFERENCES FILE (eph(i) < eph(i-1))");
    if (d < interval) interval = d;
  }
  rhead.interval = static_cast<float>(interval);
}

namespace {

// Share of the records whose satellite passes the system test.
template <class Test>
bool HasSystem(const matrix<short>& satList, const matrix<short>& sat, long nobs, Test isSys) {
  bool listed = false;
  for (long i = 0; i < satList.Length(); ++i) listed = listed || isSys(satList(i));
  if (!listed || nobs <= 0) return false;
  long n = 0;
  for (long r = 0; r < nobs; ++r) n += isSys(sat.v[r]) ? 1 : 0;
  return n > 0.1L * nobs;
}

}  // namespace

bool PhsDiffData::HasGPSObs() const {
  return HasSystem(satList, sat, nobs, satnum::IsGPS);
}
bool PhsDiffData::HasGLONASSObs() const {
  return HasSystem(satList, sat, nobs, satnum::IsGLONASS);
}
bool PhsDiffData::HasGALILEOObs() const {
  return HasSystem(satList, sat, nobs, satnum::IsGALILEO);
}

void PhsDiffData::CopyC2toP2() {
  if (rhead.iP2 || !rhead.iC2) return;
  P2 = C2;
  rhead.iP2 = true;
}

std::istream& operator>>(std::istream& is, PhsDiffData& d) {
  LineReader lr(is);
  d.Read(lr);
  return is;
}

namespace {

// Epoch line with the seconds rounded to the printed 7 decimals, carried into
// the next day when they round to a full day.
int FormatEpochLine(char* buf, size_t size, long n, const mjd& t, long double dt, long double clkB,
                    long double clkR) {
  unsigned long day = t.GetMJDay();
  long double sec = std::round(t.GetSecond() * 1e7L) / 1e7L;
  if (sec >= 86400.0L) {
    sec -= 86400.0L;
    ++day;
  }
  return std::snprintf(buf, size, "%3ld %6lu %15.7Lf %15.6Lf %15.6Lf %15.6Lf\n", n, day, sec,
                       dt * 1e6L, clkB * 1e6L, clkR * 1e6L);
}

// One 17-character field with 4 decimals; wider values lose decimals, and
// values no fixed form can hold are written in exponent form, so that a field
// never runs into the next one.
int FormatField(char* p, long double v) {
  char tmp[64];
  int n = 0;
  for (int dec = 4; dec >= 0; --dec) {
    n = std::snprintf(tmp, sizeof(tmp), "%17.*Lf", dec, v);
    if (n == static_cast<int>(kField)) break;
  }
  if (n != static_cast<int>(kField)) n = std::snprintf(tmp, sizeof(tmp), "%17.9Le", v);
  std::memcpy(p, tmp, kField);
  return static_cast<int>(kField);
}

}  // namespace

std::ostream& operator<<(std::ostream& os, const PhsDiffData& d) {
  PhsDiffData& md = const_cast<PhsDiffData&>(d);
  const long ntypes = d.rhead.nobs;
  std::vector<const gnssobs*> obsCol(static_cast<size_t>(ntypes), nullptr);
  std::vector<const gnssobsshort*> dopCol(static_cast<size_t>(ntypes), nullptr);
  for (long k = 0; k < ntypes; ++k) {
    const matrix<gnssobs>* m = md.ObsMatrix(d.rhead.obs(k));
    if (m && m->Length() == d.nobs) obsCol[k] = m->v;
    const matrix<gnssobsshort>* dm = md.DopplerMatrix(d.rhead.obs(k));
    if (dm && dm->Length() == d.nobs) dopCol[k] = dm->v;
  }
  std::vector<char> line(kFirstField + kField * static_cast<size_t>(ntypes) + 64);
  long rec = 0;
  for (long ep = 0; ep < d.neph; ++ep) {
    int len = FormatEpochLine(line.data(), line.size(), d.nsat(ep), d.epoch(ep), d.dtR_B(ep),
                              d.clkErB(ep), d.clkErR(ep));
    os.write(line.data(), len);
    for (long i = 0; i < d.nsat(ep); ++i, ++rec) {
      char* p = line.data();
      p += std::snprintf(p, 8, "%3d", static_cast<int>(d.sat.v[rec]));
      for (long k = 0; k < ntypes; ++k) {
        long double v = 0;
        if (obsCol[k] && !obsCol[k][rec].IsNull()) v = obsCol[k][rec].GetObs();
        if (dopCol[k] && !dopCol[k][rec].IsNull()) v = dopCol[k][rec].GetObs();
        p += FormatField(p, v);
      }
      *p++ = '\n';
      os.write(line.data(), p - line.data());
    }
  }
  return os;
}

void PhsDiffData::SetAmbFile(const char* name) {
  std::snprintf(AmbFile, sizeof(AmbFile), "%s", name);
}

// --- Data operations ---------------------------------------------------------

namespace {

constexpr long double kMillisecond = 299792.458L;                  // light travel in 1 ms [m]
constexpr long double kHalfWideLaneGPS = 0.43095920016100281867L;  // [m]
constexpr long double kWideLaneGPS = 0.86191840032200563735L;      // [m]

// First record of each epoch in the flat sequence, and the total at the end.
std::vector<long> EpochOffsets(const matrix<short>& nsat, long neph) {
  std::vector<long> off(static_cast<size_t>(neph) + 1, 0);
  for (long i = 0; i < neph; ++i) off[i + 1] = off[i] + nsat(i);
  return off;
}

// Carrier wavelengths of a GPS or GLONASS satellite [m]; 0 when unknown.
void Wavelengths(short s, long double& l1, long double& l2) {
  if (satnum::IsGLONASS(s)) {
    l1 = GLONASSc::SatLambda(s, 0);
    l2 = GLONASSc::SatLambda(s, 1);
  } else {
    l1 = GPSc::lamb1;
    l2 = GPSc::lamb2;
  }
}

bool Present(const matrix<gnssobs>& m, long r) {
  return !m.v[r].IsNull();
}

}  // namespace

long PhsDiffData::FirstRecordOf(short s, long ep, long off) const {
  for (long r = off; r < off + nsat(ep); ++r)
    if (sat.v[r] == s) return r;
  return -1;
}

// Receiver-clock millisecond jumps: the mean over the satellites common to two
// epochs of (code step - phase step) on both frequencies, in milliseconds, is a
// jump when it rounds to a non-zero integer. Phases of every system are then
// raised by the accumulated jump so that they follow the codes.
long PhsDiffData::CorrMSJumps(long& nMSJumps) {
  nMSJumps = 0;
  if (neph < 2) return 0;
  std::vector<long> off = EpochOffsets(nsat, neph);
  std::vector<long double> jump(static_cast<size_t>(neph), 0.0L);
  for (long i = 1; i < neph; ++i) {
    double sum = 0;
    long count = 0;
    for (long r0 = off[i - 1]; r0 < off[i]; ++r0) {
      double dc1, dc2, dl1, dl2;
      long r1 = FirstRecordOf(sat.v[r0], i, off[i]);
      if (r1 < 0 || !EpochSteps(r0, r1, dc1, dc2, dl1, dl2)) continue;
      if (std::fabs(dl2 - dl1) < 1.0 && std::fabs(dc2 - dc1) < 10.0) {
        sum += (dc1 - dl1) + (dc2 - dl2);
        count += 2;
      }
    }
    if (count == 0) continue;
    long double ms = std::round(static_cast<long double>(sum / count) / kMillisecond);
    if (ms > 0.1L || ms < -0.1L) {
      jump[i] = ms * kMillisecond;
      ++nMSJumps;
    }
  }
  long double S = 0;
  for (long i = 0; i < neph; ++i) {
    S += jump[i];
    if (S == 0.0L) continue;
    for (long r = off[i]; r < off[i + 1]; ++r) {
      long double l1, l2;
      matrix<gnssobs>* second = nullptr;
      if (!CarrierPair(r, l1, l2, second)) continue;
      if (Present(L1, r)) L1.v[r] += S / l1;
      if (Present(*second, r)) second->v[r] += S / l2;
    }
  }
  return nMSJumps;
}

// Wavelengths [m] and the second-frequency phase of record r: L2 for GPS and
// GLONASS (channel known), L7 for Galileo; false when the file lacks them.
bool PhsDiffData::CarrierPair(long r, long double& l1, long double& l2, matrix<gnssobs>*& second) {
  const short s = sat.v[r];
  if (!rhead.iL1) return false;
  if (satnum::IsGALILEO(s)) {
    if (!rhead.iL7) return false;
    l1 = GALILEOc::lamb1;
    l2 = GALILEOc::lamb2;
    second = &L7;
    return true;
  }
  if (!(satnum::IsGPS(s) || satnum::IsGLONASS(s)) || !rhead.iL2) return false;
  Wavelengths(s, l1, l2);
  second = &L2;
  return l1 > 0.01L && l2 > 0.01L;
}

// Steps from record r0 to record r1 (the same satellite one epoch later) of the
// first code (C1, or P1 where C1 is missing), the second code (P2, C7 for
// Galileo) and both phases in metres; false when a value is missing.
bool PhsDiffData::EpochSteps(long r0, long r1, double& dc1, double& dc2, double& dl1, double& dl2) {
  long double l1, l2;
  matrix<gnssobs>* second = nullptr;
  if (!CarrierPair(r0, l1, l2, second)) return false;
  const bool galileo = satnum::IsGALILEO(sat.v[r0]);
  const matrix<gnssobs>& c2 = galileo ? C7 : P2;
  if (!(galileo ? rhead.iC7 : rhead.iP2)) return false;
  auto code1 = [&](long r) -> const gnssobs* {
    if (rhead.iC1 && Present(C1, r)) return &C1.v[r];
    if (rhead.iP1 && Present(P1, r)) return &P1.v[r];
    return nullptr;
  };
  const gnssobs *a0 = code1(r0), *a1 = code1(r1);
  if (!a0 || !a1 || !Present(L1, r0) || !Present(L1, r1) || !Present(*second, r0) ||
      !Present(*second, r1) || !Present(c2, r0) || !Present(c2, r1))
    return false;
  dc1 = static_cast<double>(a1->GetObs() - a0->GetObs());
  dc2 = static_cast<double>(c2.v[r1].GetObs() - c2.v[r0].GetObs());
  dl1 = static_cast<double>((L1.v[r1].GetObs() - L1.v[r0].GetObs()) * l1);
  dl2 = static_cast<double>((second->v[r1].GetObs() - second->v[r0].GetObs()) * l2);
  return true;
}

// Every Galileo record formed again from its E1 and E5b values with the Galileo
// coefficients; a record missing either value gets 0.
template <class Combine>
void PhsDiffData::FormGalileo(const matrix<gnssobs>& a, const matrix<gnssobs>& b,
                              matrix<gnssobs>& out, Combine combine) {
  for (long r = 0; r < nobs; ++r) {
    if (!satnum::IsGALILEO(sat.v[r])) continue;
    out.v[r] = gnssobs();
    if (!Present(a, r) || !Present(b, r)) continue;
    GLC::SetGALILEO();
    out.v[r] = combine(a.v[r], b.v[r]);
  }
}

// Ionosphere-free code from a first code (C1 or P1) and P2; GLONASS records with
// the fixed GLONASS coefficients. Galileo records are then formed from the
// first code and C7 with the Galileo coefficients when the file has C7.
void PhsDiffData::FormPC3(bool useC1, matrix<gnssobs>& out, bool& flag) {
  const PhsDiffHeader& h = rhead;
  const bool hasFirst = useC1 ? h.iC1 : h.iP1;
  const matrix<gnssobs>& first = useC1 ? C1 : P1;
  if (!hasFirst || !(h.iP2 || h.iC7)) return;
  flag = true;
  out.Resize(nobs, 1, gnssobs());
  if (h.iP2) {
    for (long r = 0; r < nobs; ++r) {
      if (!Present(first, r) || !Present(P2, r)) continue;
      if (satnum::IsGLONASS(sat.v[r])) {
        out.v[r] = GNSS_P3R(first.v[r], P2.v[r]);
      } else {
        GLC::SetGPS();
        out.v[r] = GNSS_P3(first.v[r], P2.v[r]);
      }
    }
  }
  if (h.iC7)
    FormGalileo(first, C7, out, [](const gnssobs& a, const gnssobs& b) { return GNSS_P3(a, b); });
}

void PhsDiffData::SetLC_PC3() {
  FormPC3(true, PC3, rhead.iPC3);
}
void PhsDiffData::SetLC_PP3() {
  FormPC3(false, PP3, rhead.iPP3);
}

// Ionosphere-free (L3) or geometry-free (L4) phase from L1 and L2 with the
// coefficients of the record's system; Galileo records from L1 and L7 with the
// Galileo coefficients when the file has L7. A geometry-free value that would
// read as missing is stored as 0.0005 m.
void PhsDiffData::FormPhaseLC(bool l4, matrix<gnssobs>& out, bool& flag) {
  const PhsDiffHeader& h = rhead;
  if (!h.iL1 || !(h.iL2 || h.iL7)) return;
  flag = true;
  out.Resize(nobs, 1, gnssobs());
  if (h.iL2) {
    for (long r = 0; r < nobs; ++r) {
      if (!Present(L1, r) || !Present(L2, r)) continue;
      GLC::SetForSatellite(sat.v[r], false);
      gnssobs v = l4 ? GNSS_L4(L1.v[r], L2.v[r]) : GNSS_L3(L1.v[r], L2.v[r]);
      if (l4 && v.IsNull() && GLC::lamb1 != 0.0L) v = 0.0005L;
      out.v[r] = v;
    }
  }
  if (h.iL7)
    FormGalileo(L1, L7, out, [l4](const gnssobs& a, const gnssobs& b) {
      return l4 ? GNSS_L4(a, b) : GNSS_L3(a, b);
    });
}

void PhsDiffData::SetLC_L3() {
  FormPhaseLC(false, L3, rhead.iL3);
}
void PhsDiffData::SetLC_L4() {
  FormPhaseLC(true, L4, rhead.iL4);
}

// With UseC1 the first code is C1, and P1 where a record (or the whole file)
// has no C1; otherwise P1.
void PhsDiffData::SetLC_MW(bool UseC1) {
  PhsDiffHeader& h = rhead;
  const bool hasFirst = UseC1 ? (h.iC1 || h.iP1) : h.iP1;
  h.iMW = h.iL1 && (h.iL2 || h.iL7) && hasFirst && (h.iP2 || h.iC7);
  if (!h.iMW) return;
  MW.Resize(nobs, 1, gnssobs());
  for (long r = 0; r < nobs; ++r) {
    short s = sat.v[r];
    MW.v[r] = gnssobs();
    const gnssobs* code = nullptr;
    if (UseC1 && h.iC1 && Present(C1, r))
      code = &C1.v[r];
    else if (h.iP1 && Present(P1, r))
      code = &P1.v[r];
    if (!Present(L1, r) || !code) continue;
    if (satnum::IsGALILEO(s)) {
      if (!h.iL7 || !h.iC7 || !Present(L7, r) || !Present(C7, r)) continue;
      GLC::SetGALILEO();
      MW.v[r] = GNSS_MW(L1.v[r], L7.v[r], *code, C7.v[r]);
    } else if (satnum::IsGPS(s) || satnum::IsGLONASS(s)) {
      if (!h.iL2 || !h.iP2 || !Present(L2, r) || !Present(P2, r)) continue;
      GLC::SetForSatellite(s, false);
      MW.v[r] = GNSS_MW(L1.v[r], L2.v[r], *code, P2.v[r]);
    }
  }
}

// --- Arc screening -----------------------------------------------------------

bool PhsDiffData::L4Seen(const matrix<long double>& E, long double me, long r) const {
  return !L4.v[r].IsNull() && E(r, 0) > me && E(r, 1) > me;
}

std::vector<unsigned char> PhsDiffData::L4Qualifying(const matrix<long double>& E, long double me,
                                                     const std::vector<long>& off,
                                                     std::vector<long>& column) const {
  const long nl = satList.Length();
  column.assign(satnum::kMaxSatNumber + 1, -1);
  for (long i = nl - 1; i >= 0; --i) {
    const short s = satList(i);
    if (s >= 0 && s <= satnum::kMaxSatNumber) column[s] = i;
  }
  std::vector<unsigned char> state(static_cast<size_t>(nl) * neph, 0);
  for (long k = 0; k < neph; ++k)
    for (long r = off[k]; r < off[k] + nsat(k); ++r) {
      const short s = sat.v[r];
      if (s < 0 || s > satnum::kMaxSatNumber || column[s] < 0) continue;
      unsigned char& st = state[column[s] * neph + k];
      if (st == 0) st = L4Seen(E, me, r) ? 2 : 1;
    }
  return state;
}

void PhsDiffData::ScreenL4Linear(matrix<long double>& E, long double me, long MinObs,
                                 long double t0, long double dt, long double gap, long& NAmb) {
  NAmb = 0;
  if (!rhead.iL4 || L4.Length() != nobs || E.NRow() < nobs || E.NCol() < 2) return;
  std::vector<long> off = EpochOffsets(nsat, neph);
  // An epoch qualifies when the satellite has a present L4 seen above the
  // elevation limit from both stations.
  std::vector<long> column;
  const std::vector<unsigned char> state = L4Qualifying(E, me, off, column);
  auto qualifies = [&](short s, long k) {
    if (s >= 0 && s <= satnum::kMaxSatNumber && column[s] >= 0)
      return state[column[s] * neph + k] == 2;
    const long r = FirstRecordOf(s, k, off[k]);
    return r >= 0 && L4Seen(E, me, r);
  };
  for (long i = 0; i < satList.Length(); ++i) {
    short s = satList(i);
    long ep = 0;
    while (ep < neph) {
      long first = ep;
      while (first < neph && !qualifies(s, first)) ++first;
      if (first >= neph || first > neph - MinObs) break;
      long last = first;
      while (last + 1 < neph && epoch(last + 1) - epoch(last) <= gap && qualifies(s, last + 1))
        ++last;
      if (last - first + 1 >= MinObs) ScreenOneArc(MinObs, t0, dt, gap, s, first, last, off, NAmb);
      ep = last + 1;
    }
  }
}

// Cuts one continuous arc [first, last] at L4 slips. Each piece starts where
// three consecutive values lie smoothly on a line and ends before the first
// second difference above the slip limit. The limits grow with the noise of the
// second differences around each triple (kL4NoiseSigmas robust sigmas): at 1 s
// the fixed limit is only two sigmas of the phase noise of a low satellite, and
// the slips that hide below the noise are left to the step search.
void PhsDiffData::ScreenOneArc(long MinObs, long double t0, long double dt, long double gap,
                               short s, long first, long last, const std::vector<long>& off,
                               long& NAmb) {
  const long double A0 = std::sqrt(gap) * dt + t0 / 3;  // slip limit [m]
  std::vector<long double> o(static_cast<size_t>(last - first + 1)), dd;
  for (long k = first; k <= last; ++k) {
    long r = FirstRecordOf(s, k, off[k]);
    o[k - first] = r >= 0 ? L4.v[r].GetObs() : 0.0L;
  }
  for (size_t j = 0; j + 2 < o.size(); ++j) dd.push_back(o[j + 2] - 2 * o[j + 1] + o[j]);
  const std::vector<long double> sigma = LocalNoise().Sigmas(dd);
  auto limit = [&](long j) { return std::max(A0, kL4NoiseSigmas * sigma[j - first]); };
  long k = first;
  while (last - k + 1 >= MinObs) {
    long start = -1;
    for (long j = k; j + 2 <= last && start < 0; ++j) {
      const long double A = limit(j), V = A / 2, D = A + 2 * t0 / 3;  // [m]
      long double x1 = o[j - first] - o[j + 1 - first], x3 = o[j + 2 - first] - o[j + 1 - first];
      long double c = (x3 - x1) / 2, q = (x1 + x3) / 3;
      if (std::fabs(-c - q - x1) <= V && std::fabs(q) <= V && std::fabs(c - q - x3) <= V &&
          std::fabs(x1) <= D && std::fabs(x3) <= D)
        start = j;
    }
    if (start < 0) return;
    long end = last;
    for (long j = start; j + 2 <= last; ++j) {
      if (std::fabs(dd[j - first]) > limit(j)) {
        end = j + 1;
        break;
      }
    }
    if (end - start + 1 >= MinObs) {
      ambArcs.push_back({s, static_cast<std::int32_t>(start), static_cast<std::int32_t>(off[start]),
                         static_cast<std::int32_t>(end),
                         static_cast<std::int32_t>(end - start + 1)});
      ++NAmb;
    }
    if (end == last) return;
    k = end + 1;
  }
}

void PhsDiffData::ScreenMW(long double rms, long MinObsAmb, long& NAmbAll) {
  long n =
      NAmbAll < static_cast<long>(ambArcs.size()) ? NAmbAll : static_cast<long>(ambArcs.size());
  if (n < 0) n = 0;
  std::vector<AmbArc> in(ambArcs.begin(), ambArcs.begin() + n);
  std::vector<AmbArc> out;
  std::vector<long> off = EpochOffsets(nsat, neph);
  const bool haveMW = rhead.iMW && MW.Length() == nobs;
  for (const AmbArc& arc : in) {
    if (haveMW)
      SplitArcMW(arc, off, rms, MinObsAmb, out);
    else
      out.push_back(arc);
  }
  ambArcs = out;
  NAmbAll = static_cast<long>(ambArcs.size());
}

// Keeps an arc whose MW values scatter no more than rms; otherwise follows the
// MW level with a running mean and sigma, skips isolated outliers and starts a
// new arc where the level changes.
void PhsDiffData::SplitArcMW(const AmbArc& arc, const std::vector<long>& off, long double rms,
                             long MinObsAmb, std::vector<AmbArc>& out) {
  std::vector<long double> v;
  std::vector<long> ev;  // epoch of each value
  for (long e = arc.firstEpoch; e <= arc.lastEpoch && e < neph; ++e) {
    long r = FirstRecordOf(arc.sat, e, off[e]);
    if (r < 0 || MW.v[r].IsNull()) continue;
    v.push_back(MW.v[r].GetObs());
    ev.push_back(e);
  }
  const long nv = static_cast<long>(v.size());
  long double sd = 0;  // about the first value; a single value has no spread
  if (nv > 1) {
    long double s1 = 0, s2 = 0;
    for (long double x : v) {
      s1 += x - v[0];
      s2 += (x - v[0]) * (x - v[0]);
    }
    long double var = (s2 - s1 * s1 / nv) / (nv - 1);
    sd = var > 0 ? std::sqrt(var) : 0;
  }
  if (sd <= rms) {
    out.push_back(arc);
    return;
  }
  long segStart = 0, segEnd = 0, n = 1;
  long double u = v[0], s = kHalfWideLaneGPS;
  auto write = [&]() {
    if (n - 1 < MinObsAmb) return;
    long e0 = ev[segStart];
    out.push_back({arc.sat, static_cast<std::int32_t>(e0), static_cast<std::int32_t>(off[e0]),
                   static_cast<std::int32_t>(ev[segEnd]), static_cast<std::int32_t>(n - 1)});
  };
  auto restart = [&](long k) {
    write();
    segStart = segEnd = k;
    u = v[k];
    n = 1;
    s = kHalfWideLaneGPS;
  };
  for (long k = 1; k <= nv - 2; ++k) {
    long double d = v[k] - u;
    if (std::fabs(d) <= 3 * s) {
      ++n;
      u += d / n;
      s = std::sqrt((d * d - s * s) / n + s * s);
      segEnd = k;
    } else if (std::fabs(v[k + 1] - u) < 3 * s) {
      segEnd = k;  // isolated outlier
    } else if (std::fabs(v[k] - v[k + 1]) < kWideLaneGPS) {
      restart(k);  // a new level starts here
    } else {
      restart(++k);
    }
  }
  write();
}

namespace {

// Wide-lane wavelength and |lambda2 - lambda1| of a satellite [m]; false when
// unknown (GLONASS channel not set, or a system without combinations).
bool StepWavelengths(short s, long double& lWL, long double& dLambda) {
  long double l1 = 0, l2 = 0;
  if (satnum::IsGALILEO(s)) {
    l1 = GALILEOc::lamb1;
    l2 = GALILEOc::lamb2;
  } else if (satnum::IsGPS(s) || satnum::IsGLONASS(s)) {
    Wavelengths(s, l1, l2);
  }
  if (!(l1 > 0.01L) || !(l2 > l1)) return false;
  lWL = l1 * l2 / (l2 - l1);
  dLambda = l2 - l1;
  return true;
}

}  // namespace

void PhsDiffData::ScreenSteps(long MinObsAmb, long double gap, long& NSteps) {
  NSteps = 0;
  if (!(rhead.iMW && MW.Length() == nobs) && !(rhead.iL4 && L4.Length() == nobs)) return;
  std::vector<long> off = EpochOffsets(nsat, neph);
  std::vector<AmbArc> out;
  for (const AmbArc& arc : ambArcs) SplitArcSteps(arc, off, MinObsAmb, out, NSteps);
  std::stable_sort(out.begin(), out.end(), [](const AmbArc& x, const AmbArc& y) {
    return x.sat != y.sat ? x.sat < y.sat : x.firstEpoch < y.firstEpoch;
  });
  for (size_t k = 1; k < out.size(); ++k)
    if (out[k].sat == out[k - 1].sat) RefineBoundary(out[k - 1], out[k], off, gap);
  ambArcs = out;
}

void PhsDiffData::SplitArcsBefore(short s, const std::vector<long>& at, long MinObsAmb,
                                  long& NSplits) {
  if (at.empty()) return;
  const std::vector<long> off = EpochOffsets(nsat, neph);
  std::vector<AmbArc> out;
  for (const AmbArc& arc : ambArcs) {
    std::vector<long> cuts;
    for (long e : at)
      if (arc.sat == s && e > arc.firstEpoch && e <= arc.lastEpoch) cuts.push_back(e);
    if (cuts.empty()) {
      out.push_back(arc);
      continue;
    }
    std::sort(cuts.begin(), cuts.end());
    NSplits += static_cast<long>(cuts.size());
    cuts.push_back(arc.lastEpoch + 1L);
    long begin = arc.firstEpoch;
    for (long cut : cuts) {
      long first = -1, last = -1, count = 0;
      for (long e = begin; e < cut; ++e)
        if (FirstRecordOf(s, e, off[e]) >= 0) {
          if (first < 0) first = e;
          last = e;
          ++count;
        }
      if (count >= MinObsAmb)
        out.push_back({s, static_cast<std::int32_t>(first), static_cast<std::int32_t>(off[first]),
                       static_cast<std::int32_t>(last), static_cast<std::int32_t>(count)});
      begin = cut;
    }
  }
  ambArcs = out;
}

bool PhsDiffData::MoveArcStart(size_t k, long e) {
  if (k == 0 || k >= ambArcs.size()) return false;
  AmbArc& a = ambArcs[k - 1];
  AmbArc& b = ambArcs[k];
  if (a.sat != b.sat || e <= a.firstEpoch || e > b.lastEpoch || e >= neph) return false;
  const std::vector<long> off = EpochOffsets(nsat, neph);
  if (FirstRecordOf(b.sat, e, off[e]) < 0) return false;
  for (long x = a.lastEpoch + 1; x < b.firstEpoch; ++x)
    if (FirstRecordOf(b.sat, x, off[x]) >= 0) return false;  // the arcs do not touch
  long last = -1, na = 0, nb = 0;
  for (long x = a.firstEpoch; x <= b.lastEpoch; ++x) {
    if (FirstRecordOf(b.sat, x, off[x]) < 0) continue;
    if (x < e) {
      last = x;
      ++na;
    } else {
      ++nb;
    }
  }
  a.lastEpoch = static_cast<std::int32_t>(last);
  a.nObs = static_cast<std::int32_t>(na);
  b.firstEpoch = static_cast<std::int32_t>(e);
  b.firstRecord = static_cast<std::int32_t>(off[e]);
  b.nObs = static_cast<std::int32_t>(nb);
  return true;
}

// The values of satellite s over the epochs e0 .. e1 that have an MW or L4 value,
// with the epoch of each.
ArcSeries PhsDiffData::SeriesOf(short s, long e0, long e1, const std::vector<long>& off,
                                std::vector<long>& ev) const {
  const bool haveMW = rhead.iMW && MW.Length() == nobs;
  const bool haveL4 = rhead.iL4 && L4.Length() == nobs;
  ArcSeries series;
  ev.clear();
  for (long e = e0; e <= e1 && e < neph; ++e) {
    long r = FirstRecordOf(s, e, off[e]);
    if (r < 0) continue;
    const bool okMW = haveMW && !MW.v[r].IsNull(), okL4 = haveL4 && !L4.v[r].IsNull();
    if (!okMW && !okL4) continue;
    series.Add(epoch(e) - epoch(0), okMW, okMW ? MW.v[r].GetObs() : 0, okL4,
               okL4 ? L4.v[r].GetObs() : 0);
    ev.push_back(e);
  }
  return series;
}

// Two arcs that touch (no value of the satellite between them) were split at a
// slip by one of the passes; their boundary moves to where one step fits the
// values best, so that a repair of the later arc starts at the slip itself.
void PhsDiffData::RefineBoundary(AmbArc& a, AmbArc& b, const std::vector<long>& off,
                                 long double gap) {
  long double lWL = 0, dLambda = 0;
  if (!StepWavelengths(a.sat, lWL, dLambda) || b.firstEpoch <= a.lastEpoch ||
      epoch(b.firstEpoch) - epoch(a.lastEpoch) > gap)
    return;
  std::vector<long> ev;
  ArcSeries s = SeriesOf(a.sat, a.firstEpoch, b.lastEpoch, off, ev);
  long j = -1;
  for (size_t i = 0; i < ev.size(); ++i)
    if (ev[i] == b.firstEpoch) j = static_cast<long>(i);
  if (j < 1 || ev[j - 1] != a.lastEpoch) return;
  ArcStepSearch search(lWL, dLambda);
  const ArcStepSearch::Step st = search.Refine(s, j);
  if (st.from < 1 || st.to >= s.Size() || (st.from == j && st.to == j)) return;  // also unplaced
  // Neither arc may lose all of its values, and the moved ends stay within the
  // stretch without gaps.
  if (ev[st.from - 1] < a.firstEpoch || ev[st.to] > b.lastEpoch) return;
  for (long i = std::min(st.from, j); i < std::max(st.to, j); ++i)
    if (epoch(ev[i]) - epoch(ev[i - 1]) > gap || epoch(ev[i + 1]) - epoch(ev[i]) > gap) return;
  a.nObs += static_cast<std::int32_t>(st.from - j);
  b.nObs -= static_cast<std::int32_t>(st.to - j);
  a.lastEpoch = static_cast<std::int32_t>(ev[st.from - 1]);
  b.firstEpoch = static_cast<std::int32_t>(ev[st.to]);
  b.firstRecord = static_cast<std::int32_t>(off[ev[st.to]]);
}

// Splits one arc at the steps found in its values, then searches each piece
// again (a step hides a second one within its windows).
void PhsDiffData::SplitArcSteps(const AmbArc& arc, const std::vector<long>& off, long MinObsAmb,
                                std::vector<AmbArc>& out, long& NSteps) {
  long double lWL = 0, dLambda = 0;
  if (!StepWavelengths(arc.sat, lWL, dLambda)) {
    out.push_back(arc);
    return;
  }
  ArcStepSearch search(lWL, dLambda);
  search.mwWindow = std::max(20L, MinObsAmb / 2);
  std::vector<AmbArc> todo{arc};
  for (int round = 0; round < 20 && !todo.empty(); ++round) {
    std::vector<AmbArc> next;
    for (const AmbArc& a : todo) {
      std::vector<long> ev;
      ArcSeries s = SeriesOf(a.sat, a.firstEpoch, a.lastEpoch, off, ev);
      std::vector<ArcStepSearch::Step> steps = search.Steps(s);
      if (steps.empty()) {
        out.push_back(a);
        continue;
      }
      NSteps += static_cast<long>(steps.size());
      steps.push_back({s.Size(), s.Size()});
      long begin = 0;
      for (const ArcStepSearch::Step& st : steps) {
        if (st.from - begin >= MinObsAmb) {
          const long e0 = ev[begin], e1 = ev[st.from - 1];
          next.push_back({a.sat, static_cast<std::int32_t>(e0), static_cast<std::int32_t>(off[e0]),
                          static_cast<std::int32_t>(e1),
                          static_cast<std::int32_t>(st.from - begin)});
        }
        begin = st.to;
      }
    }
    todo = next;
  }
  for (const AmbArc& a : todo) out.push_back(a);
}
