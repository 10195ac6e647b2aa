#include "orbits/GNSSpEph.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <optional>

#include "core/ProgramError.h"
#include "core/TextFields.h"
#include "gnss/GNSSSatBasis.h"
#include "orbits/LightTime.h"
#include "orbits/LuniSolarPosition.h"
#include "orbits/OrbitText.h"
#include "orbits/SeriesJoin.h"

using textfield::Cut;
using textfield::Need;

namespace {
const char* kClass = "GNSSpEph";

// Malformed fields of line fileLine of the file end the read naming both.
textfield::FieldSource Source(const char* file, long fileLine) {
  return {kClass, file, "****", fileLine};
}
const int kMaxSatNumber = 700;
}  // namespace

GNSSpEph::GNSSpEph()
    : version(' '),
      flag(' '),
      nepoch(0),
      nSatListLines(0),
      nComments(0),
      nsat(0),
      interval(0),
      posBase(0),
      clkBase(0),
      nPtsPos(7),
      nPtsTime(2),
      OMEGAz(7.2921151467e-5L),
      Relativity(0),
      DTisOK(true),
      PSisOK(true),
      uniform(true),
      headerEpochs(0),
      positionLines(0),
      offCentreWarned(false),
      lastNode(-1) {
  sp3file[0] = '\0';
  satIx.Resize(kMaxSatNumber, 1, -1);
}

void GNSSpEph::SetFile(const char* name) {
  std::strncpy(sp3file, name, sizeof(sp3file) - 1);
  sp3file[sizeof(sp3file) - 1] = '\0';
}

void GNSSpEph::SetNInterpPoints(int n) {
  if (n < 1) n = 1;
  if (n > kMaxNodes / 2) n = kMaxNodes / 2;
  nPtsPos = n;
  if (nepoch > 0) SetLfact();
}

int GNSSpEph::SatIndex(short satno) const {
  if (satno < 0 || satno >= kMaxSatNumber) return -1;
  return satIx(satno);
}

// The header lines are found by their leading characters; the epoch blocks are
// counted up to "EOF" so that a file cut short holds the epochs it has.
void GNSSpEph::CountHeader(const std::string& name) {
  std::ifstream in(name);
  if (!in) FileError(kClass, "PRECISE EPHEMERIS FILE CAN NOT BE OPENED!");
  std::string line;
  long blocks = 0;
  positionLines = 0;
  while (textfield::GetLine(in, line)) {
    if (line.compare(0, 3, "EOF") == 0) break;
    if (line[0] == '*') {
      ++blocks;
    } else if (blocks > 0) {
      if (line[0] == 'P') ++positionLines;
    } else {
      if (line.compare(0, 2, "+ ") == 0) ++nSatListLines;
      if (line.compare(0, 2, "/*") == 0) ++nComments;
    }
  }
  nepoch = static_cast<int32_t>(blocks);
}

void GNSSpEph::ReadSatList(const std::string& line, int lineNo) {
  if (lineNo == 0) {
    const long n = textfield::Int(line, 2, 4).value_or(0);
    if (n < 1 || n > 17L * nSatListLines)
      FileError(kClass, "PRECISE EPHEMERIS FILE - IMPROPER NUMBER OF SATELLITES!");
    nsat = static_cast<short>(n);
    satList.Resize(nsat, 1, 0);
    satListSig.Resize(nsat, 1, 0);
  }
  for (int k = 0; k < 17; k++) {
    const long i = lineNo * 17L + k;
    if (i >= nsat) return;
    const short s = orbittext::SatNumber(line, 9 + 3 * k);
    satList(i) = s;
    if (s >= 0 && s < kMaxSatNumber && satIx(s) < 0) satIx(s) = static_cast<short>(i);
  }
}

void GNSSpEph::ReadSatSig(const std::string& line, int lineNo, long fileLine) {
  for (int k = 0; k < 17; k++) {
    const long i = lineNo * 17L + k;
    if (i >= nsat) return;
    const size_t pos = 9 + 3 * k;
    satListSig(i) = static_cast<short>(
        Need(textfield::IntOr(line, pos, 3, 0), Source(sp3file, fileLine), line, pos, 3));
  }
}

void GNSSpEph::ReadHeader(std::istream& in) {
  auto here = [&] { return Source(sp3file, textfield::LineNumber(in)); };
  std::string line;
  textfield::GetLine(in, line);
  version = line.size() > 1 ? line[1] : ' ';
  flag = line.size() > 2 ? line[2] : ' ';
  headerEpochs = static_cast<int32_t>(Need(textfield::IntOr(line, 32, 7, 0), here(), line, 32, 7));
  textfield::GetLine(in, line);
  interval = Need(textfield::RealOr(line, 23, 15, 0.0L), here(), line, 23, 15);
  const long day = textfield::Int(line, 38, 6).value_or(0);
  const long double fraction = textfield::Real(Cut(line, 44)).value_or(-1.0L);
  if (day < 1 || day >= 200000 || fraction < 0 || fraction >= 1)
    FileError(kClass, "PRECISE EPHEMERIS FILE - IMPROPER START EPOCH IN HEADER!");
  StartEpoch = mjd(static_cast<unsigned long>(day), fraction * 86400.0L);
  int listLine = 0, sigLine = 0;
  bool haveBases = false;
  while (in.peek() != '*' && textfield::GetLine(in, line)) {
    if (line.compare(0, 2, "+ ") == 0) {
      ReadSatList(line, listLine++);
    } else if (line.compare(0, 2, "++") == 0 && sigLine < listLine) {
      ReadSatSig(line, sigLine++, textfield::LineNumber(in));
    } else if (line.compare(0, 2, "%f") == 0 && !haveBases) {
      posBase = Need(textfield::RealOr(line, 2, 11, 0.0L), here(), line, 2, 11);
      clkBase = Need(textfield::RealOr(line, 13, 13, 0.0L), here(), line, 13, 13);
      haveBases = true;
    }
  }
  if (nsat < 1) FileError(kClass, "PRECISE EPHEMERIS FILE - NO SATELLITE LIST IN HEADER!");
}

mjd GNSSpEph::ReadEpochLine(const std::string& line) {
  mjd t;
  if (!orbittext::ParseEpoch(Cut(line, 1), t))
    FileError(kClass, "PRECISE EPHEMERIS FILE - IMPROPER EPOCH LINE: " + line);
  return t;
}

void GNSSpEph::ReadRecord(const std::string& line, long block, long fileLine) {
  // Velocity, correlation and other record lines carry no positions.
  if (line[0] != 'P') return;
  const int isat = SatIndex(orbittext::SatNumber(line, 1));
  if (isat < 0) return;
  const long rec = block * nsat + isat;
  // A blank position reads as 0 and a blank clock as 999999.999999, the values
  // by which SP3 marks a missing position and clock.
  auto value = [&](size_t pos, long double blank) {
    return Need(textfield::RealOr(line, pos, 14, blank), Source(sp3file, fileLine), line, pos, 14);
  };
  const long double x = value(4, 0.0L) * 1000.0L;
  const long double y = value(18, 0.0L) * 1000.0L;
  const long double z = value(32, 0.0L) * 1000.0L;
  const long double clkus = value(46, 999999.999999L);
  long double clk = clkus * 1e-6L;
  long double sx = 0, sy = 0, sz = 0, sc = 0;
  if (line.size() > 60) {
    if (std::fabs(clkus - 999999.0L) <= 2.0L) {
      clk = 999999.0L;
    } else {
      auto sig = [&](size_t pos, size_t minLen, long double base, long double unit) {
        if (line.size() < minLen) return 0.0L;
        const long e =
            Need(textfield::IntOr(line, pos, 2, 0), Source(sp3file, fileLine), line, pos, 2);
        return std::pow(base, static_cast<long double>(e)) * unit;
      };
      sx = sig(61, 63, posBase, 0.001L);
      sy = sig(64, 66, posBase, 0.001L);
      sz = sig(67, 69, posBase, 0.001L);
      sc = line.size() < 73
               ? 0.0L
               : std::pow(clkBase,
                          static_cast<long double>(Need(textfield::IntOr(line, 70, 3, 0),
                                                        Source(sp3file, fileLine), line, 70, 3))) *
                     1e-12L;
    }
  }
  sat(rec) = satList(isat);
  sPos(rec) = xyzt(x, y, z, clk);
  sPosSig(rec) = xyzt(sx, sy, sz, sc);
}

void GNSSpEph::ReadBlocks(std::istream& in) {
  std::string line;
  long block = -1;
  while (textfield::GetLine(in, line)) {
    if (line.compare(0, 3, "EOF") == 0) break;
    if (line.empty()) continue;
    if (line[0] == '*') {
      if (++block >= nepoch) break;
      epoch(block) = ReadEpochLine(line);
      tnode(block) = epoch(block) - epoch(0);
      if (block > 0 && tnode(block) <= tnode(block - 1))
        FileError(kClass, "PRECISE EPHEMERIS FILE - EPOCHS NOT IN INCREASING ORDER: " + line);
    } else if (block >= 0) {
      ReadRecord(line, block, textfield::LineNumber(in));
    }
  }
}

void GNSSpEph::CheckSpacing() {
  uniform = interval > 0;
  for (long i = 1; i < nepoch && uniform; i++)
    if (std::fabs(tnode(i) - tnode(i - 1) - interval) > 1e-3L) uniform = false;
  if (!uniform && nepoch > 1)
    ClassWarning(kClass,
                 "PRECISE EPHEMERIS FILE - EPOCHS NOT EQUALLY SPACED BY THE HEADER INTERVAL!");
  if (interval <= 0 && nepoch > 1) interval = tnode(1) - tnode(0);
}

void GNSSpEph::AddFile(const char* name) {
  joinFiles.emplace_back(name);
}

void GNSSpEph::ReadFile() {
  offCentreWarned = false;
  ReadOne();
  for (const std::string& name : joinFiles) {
    GNSSpEph other;
    other.SetFile(name.c_str());
    other.ReadOne();
    Join(other);
  }
}

void GNSSpEph::ReadOne() {
  nSatListLines = nComments = 0;
  nsat = 0;
  satIx.Resize(kMaxSatNumber, 1, -1);
  CountHeader(sp3file);
  std::ifstream in(sp3file);
  ReadHeader(in);
  // The header's epoch count holds unless the file ends sooner.
  if (headerEpochs > 0 && headerEpochs < nepoch) nepoch = headerEpochs;
  epoch.Resize(nepoch > 0 ? nepoch : 0, 1);
  tnode.Resize(nepoch > 0 ? nepoch : 0, 1, 0.0L);
  const long nrec = static_cast<long>(nepoch) * nsat;
  // A week of 30 s epochs for 150 satellites needs 3 million records.
  if (nrec > 5000000L)
    FileError(kClass, "PRECISE EPHEMERIS FILE - TOO MANY EPOCHS AND SATELLITES TO HOLD!");
  // Epochs and satellites are held in full, so a file whose epoch lines and
  // satellite list promise far more positions than it has is not taken at its word.
  if (nrec > 10000L + 10L * positionLines)
    FileError(kClass, "PRECISE EPHEMERIS FILE - FAR FEWER POSITIONS THAN EPOCHS AND SATELLITES!");
  sat.Resize(nrec, 1, 0);
  sPos.Resize(nrec, 1, xyzt());
  sPosSig.Resize(nrec, 1, xyzt());
  ReadBlocks(in);
  if (nepoch > 0) StartEpoch = epoch(0);
  CheckSpacing();
  SetLfact();
}

void GNSSpEph::JoinSatellites(const GNSSpEph& o) {
  std::vector<short> list, sig;
  for (long k = 0; k < nsat; k++) list.push_back(satList(k)), sig.push_back(satListSig(k));
  for (long k = 0; k < o.nsat; k++) {
    const short s = o.satList(k);
    if (o.satIx(s) == k && SatIndex(s) < 0) {
      satIx(s) = static_cast<short>(list.size());
      list.push_back(s);
      sig.push_back(o.satListSig(k));
    }
  }
  if (list.size() >= static_cast<size_t>(kMaxSatNumber))
    FileError(kClass, "PRECISE EPHEMERIS FILES - TOO MANY SATELLITES TO JOIN!");
  nsat = static_cast<short>(list.size());
  satList.Resize(nsat, 1, 0);
  satListSig.Resize(nsat, 1, 0);
  for (long k = 0; k < nsat; k++) satList(k) = list[k], satListSig(k) = sig[k];
}

void GNSSpEph::MergeSharedEpoch(long block, const GNSSpEph& o, long oblock, int& differing,
                                long double& worst) {
  auto has = [](const xyzt& p) {
    return std::fabs(p.GetX()) + std::fabs(p.GetY()) + std::fabs(p.GetZ()) >= 1.0L;
  };
  for (long k = 0; k < o.nsat; k++) {
    const short s = o.satList(k);
    const xyzt& b = o.sPos(oblock * o.nsat + k);
    if (o.satIx(s) != k || !has(b)) continue;
    const long rec = block * nsat + SatIndex(s);
    const xyzt a = sPos(rec);
    if (!has(a)) {
      sat(rec) = s;
      sPos(rec) = b;
      sPosSig(rec) = o.sPosSig(oblock * o.nsat + k);
      continue;
    }
    const long double dpos = (a.GetXYZ() - b.GetXYZ()).GetLength();
    const bool clocks = std::fabs(a.GetT()) < 0.9L && std::fabs(b.GetT()) < 0.9L;
    const long double dclk = clocks ? std::fabs(a.GetT() - b.GetT()) : 0.0L;
    if (std::fabs(a.GetT()) >= 0.9L && std::fabs(b.GetT()) < 0.9L)
      sPos(rec) = xyzt(a.GetX(), a.GetY(), a.GetZ(), b.GetT());
    if (dpos > 0.1L || dclk > 1e-9L) {
      ++differing;
      worst = std::max(worst, std::max(dpos, dclk * lighttime::c));
    }
  }
}

// The other series adds the epochs before and after this one; at the two end
// epochs of this series it only fills missing satellites.
void GNSSpEph::Join(const GNSSpEph& o) {
  const std::string name(o.sp3file);
  const long double tol = seriesjoin::kSameEpoch;
  if (nepoch < 1 || o.nepoch < 1) {
    ClassWarning(kClass, "PRECISE EPHEMERIS FILE HAS NO EPOCHS - NOT JOINED: " + name);
    return;
  }
  long nb = 0, na = 0;
  const seriesjoin::Fit fit =
      seriesjoin::Place(epoch, nepoch, interval, o.epoch, o.nepoch, o.interval, nb, na);
  if (fit != seriesjoin::Fit::Joins) {
    ClassWarning(kClass,
                 fit == seriesjoin::Fit::Gap
                     ? "PRECISE EPHEMERIS FILE DOES NOT JOIN THE SERIES (GAP) - NOT USED: " + name
                     : "PRECISE EPHEMERIS FILE ADDS NO EPOCHS TO THE SERIES - NOT USED: " + name);
    return;
  }
  const long n0 = nepoch, ns0 = nsat;
  const matrix<short> sat0 = sat;
  const matrix<mjd> epoch0 = epoch;
  const matrix<xyzt> pos0 = sPos, sig0 = sPosSig;
  JoinSatellites(o);
  const long ne = nb + n0 + na;
  if (ne * nsat > 5000000L)
    FileError(kClass, "PRECISE EPHEMERIS FILE - TOO MANY EPOCHS AND SATELLITES TO HOLD!");
  sat.Resize(ne * nsat, 1, 0);
  sPos.Resize(ne * nsat, 1, xyzt());
  sPosSig.Resize(ne * nsat, 1, xyzt());
  epoch.Resize(ne, 1);
  auto copy = [&](const matrix<short>& fromSat, const matrix<xyzt>& fromPos,
                  const matrix<xyzt>& fromSig, long fromNsat, long from, long to) {
    for (long k = 0; k < fromNsat; k++) {
      const short s = fromSat(from * fromNsat + k);
      if (s <= 0 || SatIndex(s) < 0) continue;
      const long rec = to * nsat + SatIndex(s);
      sat(rec) = s;
      sPos(rec) = fromPos(from * fromNsat + k);
      sPosSig(rec) = fromSig(from * fromNsat + k);
    }
  };
  for (long i = 0; i < nb; i++) {
    copy(o.sat, o.sPos, o.sPosSig, o.nsat, i, i);
    epoch(i) = o.epoch(i);
  }
  for (long i = 0; i < n0; i++) {
    copy(sat0, pos0, sig0, ns0, i, nb + i);
    epoch(nb + i) = epoch0(i);
  }
  for (long i = 0; i < na; i++) {
    copy(o.sat, o.sPos, o.sPosSig, o.nsat, o.nepoch - na + i, nb + n0 + i);
    epoch(nb + n0 + i) = o.epoch(o.nepoch - na + i);
  }
  nepoch = headerEpochs = static_cast<int32_t>(ne);
  int differing = 0;
  long double worst = 0;
  for (long i = nb; i < o.nepoch - na; i++) {
    if (std::fabs(o.epoch(i) - epoch(nb)) <= tol) MergeSharedEpoch(nb, o, i, differing, worst);
    if (std::fabs(o.epoch(i) - epoch(nb + n0 - 1)) <= tol)
      MergeSharedEpoch(nb + n0 - 1, o, i, differing, worst);
  }
  if (differing > 0) {
    char text[200];
    std::snprintf(text, sizeof text,
                  "PRECISE EPHEMERIS FILES DIFFER AT THEIR COMMON EPOCH: %d SATELLITES BY UP TO "
                  "%.3f m - VALUES OF THE FILE GIVEN FIRST ARE KEPT: ",
                  differing, static_cast<double>(worst));
    ClassWarning(kClass, text + name);
  }
  tnode.Resize(nepoch, 1, 0.0L);
  for (long i = 0; i < nepoch; i++) tnode(i) = epoch(i) - epoch(0);
  StartEpoch = epoch(0);
  CheckSpacing();
  SetLfact();
  // Joins without a shared epoch are checked for a jump between the files.
  if (nb > 0 && !(nb < o.nepoch && std::fabs(o.epoch(nb) - epoch(nb)) <= tol)) CheckJoin(nb, name);
  if (na > 0 && !(o.nepoch - na - 1 >= 0 &&
                  std::fabs(o.epoch(o.nepoch - na - 1) - epoch(nb + n0 - 1)) <= tol))
    CheckJoin(nb + n0, name);
}

void GNSSpEph::CheckJoin(long k, const std::string& file) {
  const long n = nPtsPos;
  if (k - n < 0 || k + n >= nepoch) return;
  int differing = 0;
  long double worst = 0;
  for (long s = 0; s < nsat; s++) {
    const xyzt& node = sPos(s + k * nsat);
    bool ok = std::fabs(node.GetX()) + std::fabs(node.GetY()) + std::fabs(node.GetZ()) >= 1.0L;
    xyz p;
    for (long i = k - n; i <= k + n && ok; i++) {
      const xyzt& v = sPos(s + i * nsat);
      if (i == k) continue;
      ok = std::fabs(v.GetX()) + std::fabs(v.GetY()) + std::fabs(v.GetZ()) >= 1.0L;
      long double w = 1.0L;
      for (long j = k - n; j <= k + n; j++)
        if (j != i && j != k) w *= (tnode(k) - tnode(j)) / (tnode(i) - tnode(j));
      p += w * v.GetXYZ();
    }
    if (!ok) continue;
    const long double d = (p - node.GetXYZ()).GetLength();
    if (d > 0.1L) {
      ++differing;
      worst = std::max(worst, d);
    }
  }
  if (differing > 0) {
    char text[200];
    std::snprintf(
        text, sizeof text,
        "PRECISE EPHEMERIS FILES DO NOT JOIN SMOOTHLY: %d SATELLITES OFF THE NEIGHBOURING "
        "NODES BY UP TO %.3f m AT THE JOIN WITH: ",
        differing, static_cast<double>(worst));
    ClassWarning(kClass, text + file);
  }
}

void GNSSpEph::SetLfact() {
  auto fill = [this](matrix<long double>& f, int n) {
    f.Resize(2 * n, 1);
    for (int i = 0; i < 2 * n; i++) {
      f(i) = 1.0L;
      for (int j = 0; j < 2 * n; j++)
        if (j != i) f(i) *= (i - j) * interval / 3600.0L;
    }
  };
  fill(Lfact, nPtsPos);
  fill(LfactDT, nPtsTime);
}

void GNSSpEph::CheckCoverage(const mjd& t) const {
  if (nepoch < 1) return;
  if (epoch(0) - t > 900.0L || t - epoch(nepoch - 1) > 900.0L)
    ProgramWarning("Tervan",
                   "CALCULATION EPOCH NOT IN EPOCH INTERVAL OF INPUT PRECISE ORBIT FILE!");
}

long GNSSpEph::NodeAtOrBefore(const mjd& t) {
  const long double dt = t - epoch(0);
  // Successive epochs mostly fall between the same two nodes as the last one.
  const long e = lastNode;
  if (e >= 0 && e < nepoch && tnode(e) <= dt && (e + 1 == nepoch || !(tnode(e + 1) <= dt)))
    return e;
  long lo = 0, hi = nepoch;  // first node later than t lies in [lo, hi]
  while (lo < hi) {
    const long mid = (lo + hi) / 2;
    if (tnode(mid) <= dt)
      lo = mid + 1;
    else
      hi = mid;
  }
  lastNode = lo - 1;
  return lo - 1;
}

bool GNSSpEph::Window(long end, int n, long& first, long& last) const {
  first = end - n + 1;
  last = end + n;
  const bool centred = first >= 0 && last < nepoch;
  if (first < 0) {
    first = 0;
    last = 2 * n - 1;
  }
  if (last >= nepoch) {
    last = nepoch - 1;
    first = nepoch - 2 * n;
  }
  if (first < 0) first = 0;  // fewer epochs than nodes: all of them
  return centred;
}

const long double* GNSSpEph::Denominators(long first, long last, const matrix<long double>& table,
                                          long double* den) const {
  const long nodes = last - first + 1;
  if (uniform && nodes == table.NRow()) return &table(0);
  for (long i = first; i <= last; i++) {
    long double d = 1.0L;
    for (long j = first; j <= last; j++)
      if (j != i) d *= (tnode(i) - tnode(j)) / 3600.0L;
    den[i - first] = d;
  }
  return den;
}

void GNSSpEph::HoursFromNodes(const mjd& t, long first, long last, long double* h) const {
  for (long j = first; j <= last; j++) h[j - first] = (t - epoch(j)) / 3600.0L;
}

namespace {
// For each of the n values x, the other values combined by op in node order from
// init (out[i]): the products of the other nodes' hours, or the sums of their
// reciprocals. The terms before a node are carried from node to node; those after
// it are formed for two nodes at a time.
template <class Op>
void AllBut(const long double* x, long n, long double init, Op op, long double* out) {
  long double before = init;
  long i = 0;
  for (; i + 1 < n; i += 2) {
    long double a = op(before, x[i + 1]);
    before = op(before, x[i]);
    long double b = before;
    for (long k = i + 2; k < n; k++) a = op(a, x[k]), b = op(b, x[k]);
    out[i] = a;
    out[i + 1] = b;
    before = op(before, x[i + 1]);
  }
  if (i < n) out[i] = before;
}

struct Times {
  long double operator()(long double a, long double b) const { return a * b; }
};
struct Plus {
  long double operator()(long double a, long double b) const { return a + b; }
};
}  // namespace

void GNSSpEph::InterpolatePosition(int isat, const mjd& t, long end, xyzt& pos) {
  long& first = pass.first;
  long& last = pass.last;
  if (!Window(end, nPtsPos, first, last) && !offCentreWarned) {
    // Near the ends of the series the polynomial runs far from its middle (6 cm
    // and more in the first quarter of an hour of a 15 min orbit).
    offCentreWarned = true;
    ProgramWarning("Tervan",
                   "EPOCH NEAR THE END OF THE PRECISE ORBITS: INTERPOLATION NOT CENTRED - GIVE "
                   "THE ORBIT FILE OF THE NEIGHBOURING DAY!");
  }
  for (long i = first; i <= last; i++) {
    const xyzt& node = sPos(isat + i * nsat);
    if (std::fabs(node.GetX()) + std::fabs(node.GetY()) + std::fabs(node.GetZ()) < 1.0L) {
      PSisOK = DTisOK = false;
      return;
    }
  }
  const long nodes = last - first + 1;
  pass.isat = isat;
  pass.t = t;
  HoursFromNodes(t, first, last, pass.h);
  const long double* den = Denominators(first, last, Lfact, pass.den);
  if (den != pass.den) std::copy(den, den + nodes, pass.den);
  AllBut(pass.h, nodes, 1.0L, Times(), pass.prod);
  // The nodes were checked above: they lie nsat records apart from the first one.
  const xyzt* node = &sPos(isat + first * nsat);
  long double x = 0, y = 0, z = 0;
  for (long i = 0; i < nodes; i++, node += nsat) {
    x += node->GetX() * pass.prod[i] / pass.den[i];
    y += node->GetY() * pass.prod[i] / pass.den[i];
    z += node->GetZ() * pass.prod[i] / pass.den[i];
  }
  pos = xyzt(x, y, z, 0.0L);
}

void GNSSpEph::InterpolateVelocity(xyzt& vel) const {
  const long nodes = pass.last - pass.first + 1;
  // Reciprocal hours for the derivative; on a node (h = 0) that node's factor
  // leaves the derivative's products and its reciprocal the sums.
  long double inv[kMaxNodes], nonZero[kMaxNodes], sum[kMaxNodes], prodNonZero[kMaxNodes];
  bool zero[kMaxNodes];
  int zeros = 0;
  for (long k = 0; k < nodes; k++) {
    zero[k] = !(std::fabs(pass.h[k]) > 1e-10L);
    inv[k] = zero[k] ? 0.0L : 1.0L / pass.h[k];
    zeros += zero[k];
  }
  AllBut(inv, nodes, 0.0L, Plus(), sum);
  const long double* prod = pass.prod;
  if (zeros > 0) {
    for (long k = 0; k < nodes; k++) nonZero[k] = zero[k] ? 1.0L : pass.h[k];
    AllBut(nonZero, nodes, 1.0L, Times(), prodNonZero);
    prod = prodNonZero;
  }
  const xyzt* node = &sPos(pass.isat + pass.first * nsat);
  long double x = 0, y = 0, z = 0;
  for (long i = 0; i < nodes; i++, node += nsat) {
    // On another node the derivative keeps only the product without both nodes.
    const long double dfac = prod[i] * (zeros > zero[i] ? 1.0L : sum[i]) / pass.den[i] / 3600.0L;
    x += node->GetX() * dfac;
    y += node->GetY() * dfac;
    z += node->GetZ() * dfac;
  }
  vel = xyzt(x, y, z, 0.0L);
}

void GNSSpEph::CheckClockNodes(int isat, long end) {
  Window(end, nPtsTime, pass.clockFirst, pass.clockLast);
  for (long i = pass.clockFirst; i <= pass.clockLast; i++) {
    if (std::fabs(sPos(isat + i * nsat).GetT()) > 0.9L) {
      DTisOK = false;
      return;
    }
  }
}

void GNSSpEph::InterpolateClock(xyzt& pos) const {
  const long first = pass.clockFirst, last = pass.clockLast;
  const long nodes = last - first + 1;
  long double own[kMaxNodes], buffer[kMaxNodes], prod[kMaxNodes];
  // The hours of the position's nodes serve where the windows overlap.
  const bool inside = first >= pass.first && last <= pass.last;
  if (!inside) HoursFromNodes(pass.t, first, last, own);
  const long double* h = inside ? pass.h + (first - pass.first) : own;
  const long double* den = Denominators(first, last, LfactDT, buffer);
  AllBut(h, nodes, 1.0L, Times(), prod);
  long double clk = 0.0L;
  for (long i = 0; i < nodes; i++)
    clk += sPos(pass.isat + (first + i) * nsat).GetT() * prod[i] / den[i];
  pos.SetT(clk);
}

void GNSSpEph::EvaluatePosition(int isat, const mjd& t, xyzt& pos) {
  PSisOK = DTisOK = true;
  const long end = NodeAtOrBefore(t);
  InterpolatePosition(isat, t, end, pos);
  if (PSisOK) CheckClockNodes(isat, end);
}

void GNSSpEph::Complete(xyzt& pos, xyzt& vel) const {
  InterpolateVelocity(vel);
  if (DTisOK) InterpolateClock(pos);
}

void GNSSpEph::Interpolate(int isat, const mjd& t, xyzt& pos, xyzt& vel) {
  EvaluatePosition(isat, t, pos);
  if (PSisOK) Complete(pos, vel);
}

void GNSSpEph::CalcSatPosition(short satno, const mjd& t, xyzt& pos, xyzt& vel) {
  CheckCoverage(t);
  PSisOK = DTisOK = true;
  const int isat = SatIndex(satno);
  if (isat < 0 || nepoch < 1) {
    PSisOK = DTisOK = false;
    return;
  }
  Interpolate(isat, t, pos, vel);
}

long double GNSSpEph::CalcSatPosition(short satno, const mjd& t, const xyz& receiver, xyzt& pos,
                                      xyzt& vel) {
  long double travel = 0.0L;
  return CalcSatPosition(satno, t, receiver, pos, vel, travel);
}

long double GNSSpEph::CalcSatPosition(short satno, const mjd& t, const xyz& receiver, xyzt& pos,
                                      xyzt& vel, long double& travel, EmissionState* kept) {
  CheckCoverage(t);
  PSisOK = DTisOK = true;
  const int isat = SatIndex(satno);
  if (isat < 0 || nepoch < 1) {
    PSisOK = DTisOK = false;
    return -1.0L;
  }
  // The iterations need the position alone: the velocity and the clock are formed
  // for the last evaluation only, unless that one is the kept state.
  bool taken = false;
  auto evaluate = [&](const mjd& te) {
    ephr = te;
    taken = kept && kept->Holds(te);
    if (!taken) {
      EvaluatePosition(isat, te, p0);
      return PSisOK;
    }
    p0 = kept->Position();
    v0 = kept->Velocity();
    PSisOK = true;
    DTisOK = kept->clockOK;
    return true;
  };
  bool exhausted = false;
  const long double rho =
      lighttime::Solve(t, receiver, OMEGAz, 10, evaluate, p0, &exhausted, &travel);
  if (exhausted) ProgramWarning("Tervan", "CalcSatPosition():      TO MANY ITERATIONS: > 10!!");
  if (rho < 0) return -1.0L;
  if (!taken) {
    Complete(p0, v0);
    if (kept) kept->Keep(ephr, p0, v0, DTisOK);
  }
  Relativity = 2.0L * (v0.GetX() * p0.GetX() + v0.GetY() * p0.GetY() + v0.GetZ() * p0.GetZ()) /
               (lighttime::c * lighttime::c);
  p0.SetT(p0.GetT() - Relativity);
  pos = p0;
  vel = v0;
  return rho;
}

long double GNSSpEph::CalcSatPosition(short satno, const mjd& t, const xyz& receiver, xyzt& pos,
                                      xyzt& vel, const gnssobs& P) {
  const long double tau = P.GetObs() / lighttime::c;
  mjd te = t;
  te += -tau;
  CalcSatPosition(satno, te, pos, vel);
  if (!PSisOK) return -1.0L;
  ps = lighttime::RotateAboutZ(receiver, OMEGAz * tau);
  return lighttime::Range(ps, pos);
}

void GNSSpEph::ApplyAntennaOffset(const SatelliteOffsetLookup& lookup, bool print) {
  const LuniSolarPosition lsp;
  for (long i = 0; i < nepoch; i++) {
    if (print) std::cout << std::setw(4) << i << ". " << epoch(i) << std::endl;
    xyz sunUnit;
    long double sunDistance = 0;
    lsp.SunPosition(epoch(i), sunUnit, sunDistance);
    for (long k = 0; k < nsat; k++) {
      const long rec = i * nsat + k;
      const short s = sat(rec);
      if (s <= 0 || s >= 200 || sPos(rec).GetXYZ().GetLength() == 0) continue;
      neu off;
      if (!lookup(s, epoch(i), s < 100 ? 0 : 2, off)) {
        char text[96];
        std::snprintf(text, sizeof text,
                      "SATELLITE PHASE CENTER OFFSET NOT FOUND IN ANTEX FILE: PRN: %3d", s);
        ClassWarning(kClass, text);
        continue;
      }
      xyz X, Y, Z;
      GNSSSatBasis(X, Y, Z, sPos(rec), sunDistance * sunUnit);
      xyz shift = off.GetU() * Z;
      // The body axes across the orbit are used only when the offset has them.
      if (std::fabs(off.GetN()) + std::fabs(off.GetE()) >= 0.001L)
        shift += off.GetN() * X + off.GetE() * Y;
      const xyzt& p = sPos(rec);
      sPos(rec) =
          xyzt(p.GetX() + shift.GetX(), p.GetY() + shift.GetY(), p.GetZ() + shift.GetZ(), p.GetT());
    }
  }
}
