#include "sdiff/PhsDiffData.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <istream>
#include <ostream>
#include <string>

#include "core/LineReader.h"
#include "core/ProgramError.h"
#include "core/TextNumbers.h"
#include "gnss/SatelliteNumbering.h"

namespace {

constexpr size_t kDataLine = 1023;  // data lines are read up to this length
constexpr size_t kField = 17;       // width of one observation field
constexpr size_t kFirstField = 3;   // the satellite number occupies columns 0 to 2
constexpr long kMaxEpochRecords = satnum::kMaxSatNumber;

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

// Epoch line: records, MJD, seconds of day, then three clock values in
// microseconds (missing clock values read as 0).
void PhsDiffData::ReadEpochLine(const char* line, size_t len, long ep, long lineNo) {
  const char* end = line + len;
  const char* p = line;
  long n = 0, day = 0;
  long double sec = 0;
  if (!ParseInteger(p, end, n, &p) || n < 0 || n > kMaxEpochRecords)
    ProgramError("Tervan", AtLine("INVALID NUMBER OF SATELLITES IN EPOCH LINE OF SINGLE "
                                  "DIFFERENCES FILE",
                                  lineNo));
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
