#include "orbits/GNSSpClk.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>

#include "core/LineReader.h"
#include "core/ProgramError.h"
#include "core/TextFields.h"
#include "orbits/OrbitText.h"
#include "orbits/SeriesJoin.h"

using textfield::Cut;

namespace {
const int kMaxSatNumber = 700;
const long double kMissing = 999.999L;  // clock value of an epoch without a record
// Largest table of clock values held (epochs times satellites): a week of 30 s
// clocks for 150 satellites needs 3 million.
const long kMaxValues = 20000000L;

// The number of columns [pos, pos + width) of a line of length len, or a framed
// error naming the file, the columns, the line and its number.
long double Number(const char* file, const char* line, size_t len, long lineNo, size_t pos,
                   size_t width) {
  const char *b, *e;
  textfield::FieldRange(line, len, pos, width, b, e);
  long double v;
  if (!textfield::ParseDecimal(b, e, v))
    ProgramError("Tervan",
                 textfield::MalformedField(file, std::string(line, len), pos, width, lineNo));
  return v;
}

// The error text of the epoch text that starts a new epoch on a line of length
// len (empty when its epoch t is valid and after the epochs before).
std::string EpochError(const std::string& text, const std::vector<mjd>& before, const char* line,
                       size_t len, mjd& t) {
  if (!orbittext::ParseEpoch(text, t))
    return "RINEX CLOCK FILE - IMPROPER EPOCH OF RECORD: " + std::string(line, len);
  if (!before.empty() && !(t > before.back()))
    return "RINEX CLOCK FILE - EPOCHS NOT IN INCREASING ORDER: " + std::string(line, len);
  return std::string();
}

void HeaderError(const char* what) {
  ProgramError("Tervan", what);
}
}  // namespace

GNSSpClk::GNSSpClk()
    : type(' '),
      version(0),
      nepoch(0),
      nsat(0),
      interval(0),
      nPtsInt(2),
      EpochIx(0),
      DTisOK(false),
      nodeFirst(-1),
      nodeMinutes{0, 0, 0, 0},
      nodeDen{0, 0, 0, 0},
      nameWidthExtra(0),
      offCentreWarned(false) {
  clkfile[0] = '\0';
  satIx.Resize(kMaxSatNumber, 1, -1);
}

void GNSSpClk::SetFile(const char* name) {
  std::strncpy(clkfile, name, sizeof(clkfile) - 1);
  clkfile[sizeof(clkfile) - 1] = '\0';
}

// A second satellite list in the header takes the place of the first.
void GNSSpClk::ReadSatListLines(std::istream& in) {
  satList.Resize(nsat, 1, 0);
  satIx.Resize(kMaxSatNumber, 1, -1);
  std::string line;
  for (long i = 0; i < nsat;) {
    if (!textfield::GetLine(in, line) || line.find("END OF HEADER") != std::string::npos)
      HeaderError("RINEX CLOCK FILE - UNSUCCESFUL READING (HEADER)");
    for (int k = 0; k < 15 && i < nsat; k++, i++) {
      const std::string field = Cut(line, 4 * k, 4);
      const long number = textfield::Int(field, 1, 3).value_or(0);
      const short s =
          orbittext::SatNumber(field.empty() ? ' ' : field[0],
                               static_cast<int>(number > 0 && number < 100 ? number : 0));
      satList(i) = s;
      if (s > 0 && s < kMaxSatNumber && satIx(s) < 0) satIx(s) = static_cast<short>(i);
    }
  }
}

void GNSSpClk::ReadHeader(std::istream& in) {
  std::string line;
  if (!textfield::GetLine(in, line)) HeaderError("RINEX CLOCK FILE - UNSUCCESFUL READING (HEADER)");
  version = static_cast<float>(
      Number(clkfile, line.data(), line.size(), textfield::LineNumber(in), 0, 9));
  type = line.size() > 20 ? line[20] : ' ';
  if (type != 'C')
    HeaderError("RINEX CLOCK FILE IS NOT IN RINEX CLOCK FORMAT - RINEX TYPE IS NOT 'C'");
  // From version 3.04 the record name field is 9 characters wide instead of 4.
  nameWidthExtra = version > 3.035f ? 5 : 0;
  while (true) {
    if (!textfield::GetLine(in, line))
      HeaderError("RINEX CLOCK FILE - UNSUCCESFUL READING (HEADER)");
    if (line.find("END OF HEADER") != std::string::npos) break;
    if (line.find("# OF SOLN SATS") != std::string::npos) {
      const long n = textfield::Int(line, 0, 6).value_or(-1);
      if (n < 0 || n > kMaxSatNumber)
        HeaderError("RINEX CLOCK FILE - UNSUCCESFUL READING (HEADER)");
      nsat = static_cast<short>(n);
      ReadSatListLines(in);
    }
  }
}

bool GNSSpClk::SplitRecord(const char* line, size_t len, long fileLine, short& satno,
                           std::string_view& text, long double& value) const {
  if (len < 2 || line[0] != 'A' || line[1] != 'S') return false;
  const char *b, *e;
  textfield::FieldRange(line, len, 4, 2, b, e);
  long number;
  textfield::ParseInteger(b, e, number);
  satno = orbittext::SatNumber(len > 3 ? line[3] : ' ',
                               static_cast<int>(number > 0 && number < 100 ? number : 0));
  textfield::FieldRange(line, len, 8 + nameWidthExtra, 26, b, e);
  text = std::string_view(b, static_cast<size_t>(e - b));
  value = Number(clkfile, line, len, fileLine, 40 + nameWidthExtra, 19);
  return true;
}

// Records are grouped by epoch: each change of the epoch text starts a new epoch.
// Malformed values end the read before the size of the table is judged, and that
// before a bad epoch, so the epochs are only checked here and judged afterwards.
void GNSSpClk::ReadData() {
  std::ifstream in(clkfile);
  LineReader lr(in, LineReader::kWholeLines);
  const char* line;
  size_t len;
  bool sawHeaderEnd = false;
  while (!sawHeaderEnd && lr.Next(line, len))
    sawHeaderEnd = std::string_view(line, len).find("END OF HEADER") != std::string_view::npos;
  std::vector<mjd> epochs;
  std::vector<Record> records;
  std::string last, epochError;
  long allRecords = 0, nEpochs = 0;
  short satno;
  std::string_view text;
  long double value;
  // A table too large to hold keeps neither epochs nor values beyond the limit: the
  // file is refused once it has been read.
  auto holds = [&] { return nsat == 0 || nEpochs * nsat <= kMaxValues; };
  while (sawHeaderEnd && lr.Next(line, len)) {
    if (!SplitRecord(line, len, lr.LineNumber(), satno, text, value)) continue;
    ++allRecords;
    if (nEpochs == 0 || text != last) {
      last.assign(text);
      ++nEpochs;
      mjd t;
      if (!holds()) continue;
      if (epochError.empty()) epochError = EpochError(last, epochs, line, len, t);
      epochs.push_back(t);
    }
    // A satellite missing from the header list has no column.
    if (satno <= 0 || satno >= kMaxSatNumber || satIx(satno) < 0 || !holds()) continue;
    records.push_back({static_cast<int32_t>(epochs.size() - 1), satIx(satno), value});
  }
  FillTable(epochs, nEpochs, records, allRecords, sawHeaderEnd, epochError);
}

void GNSSpClk::FillTable(const std::vector<mjd>& epochs, long nEpochs,
                         const std::vector<Record>& records, long allRecords, bool sawHeaderEnd,
                         const std::string& epochError) {
  const long values = nEpochs * nsat;
  if (values > kMaxValues)
    ProgramError("Tervan", "RINEX CLOCK FILE - TOO MANY EPOCHS AND SATELLITES TO HOLD!");
  // The table holds every epoch for every listed satellite: a file with far fewer
  // records than that is not taken at its word.
  if (values > 10000L + 50L * allRecords)
    ProgramError("Tervan",
                 "RINEX CLOCK FILE - FAR FEWER SATELLITE CLOCKS THAN EPOCHS AND SATELLITES!");
  if (!sawHeaderEnd) HeaderError("RINEX CLOCK FILE - UNSUCCESFUL READING (DATA-HEADER)");
  if (!epochError.empty()) ProgramError("Tervan", epochError);
  nepoch = static_cast<int32_t>(epochs.size());
  epoch.Resize(nepoch, 1);
  SatClk.Resize(nepoch, nsat, kMissing);
  for (long i = 0; i < nepoch; i++) epoch(i) = epochs[i];
  for (const Record& r : records) SatClk(r.epoch, r.col) = r.value;
}

void GNSSpClk::AddFile(const char* name) {
  joinFiles.emplace_back(name);
}

void GNSSpClk::ReadFile() {
  offCentreWarned = false;
  ReadOne();
  for (const std::string& name : joinFiles) {
    GNSSpClk other;
    other.SetFile(name.c_str());
    other.ReadOne();
    Join(other);
  }
}

long GNSSpClk::JoinSatellites(const GNSSpClk& o) {
  const long old = nsat;
  std::vector<short> list;
  for (long k = 0; k < nsat; k++) list.push_back(satList(k));
  for (long k = 0; k < o.nsat; k++) {
    const short s = o.satList(k);
    if (s > 0 && s < kMaxSatNumber && o.satIx(s) == k && satIx(s) < 0) {
      satIx(s) = static_cast<short>(list.size());
      list.push_back(s);
    }
  }
  nsat = static_cast<short>(list.size());
  satList.Resize(nsat, 1, 0);
  for (long k = 0; k < nsat; k++) satList(k) = list[k];
  return old;
}

// The other series adds the epochs before and after this one; at the two end
// epochs of this series it only fills missing values.
void GNSSpClk::Join(const GNSSpClk& o) {
  const std::string name(o.clkfile);
  const long double tol = seriesjoin::kSameEpoch;
  if (nepoch < 1 || o.nepoch < 1) {
    ProgramWarning("Tervan", "RINEX CLOCK FILE HAS NO EPOCHS - NOT JOINED: " + name);
    return;
  }
  long nb = 0, na = 0;
  const seriesjoin::Fit fit =
      seriesjoin::Place(epoch, nepoch, interval, o.epoch, o.nepoch, o.interval, nb, na);
  if (fit != seriesjoin::Fit::Joins) {
    ProgramWarning("Tervan",
                   fit == seriesjoin::Fit::Gap
                       ? "RINEX CLOCK FILE DOES NOT JOIN THE SERIES (GAP) - NOT USED: " + name
                       : "RINEX CLOCK FILE ADDS NO EPOCHS TO THE SERIES - NOT USED: " + name);
    return;
  }
  const long n0 = nepoch;
  const long ns0 = JoinSatellites(o);
  const matrix<mjd> epoch0 = epoch;
  const matrix<long double> clk0 = SatClk;
  const long ne = nb + n0 + na;
  if (ne * nsat > kMaxValues)
    ProgramError("Tervan", "RINEX CLOCK FILE - TOO MANY EPOCHS AND SATELLITES TO HOLD!");
  epoch.Resize(ne, 1);
  SatClk.Resize(ne, nsat, kMissing);
  // Column k of a source goes to its satellite's column when k is that
  // satellite's own column there (a repeated list entry has no values).
  auto copy = [&](const matrix<long double>& from, long fromRow, long ncol,
                  const matrix<short>& list, const matrix<short>& ix, long to) {
    for (long k = 0; k < ncol; k++) {
      const short s = list(k);
      if (s > 0 && s < kMaxSatNumber && ix(s) == k) SatClk(to, satIx(s)) = from(fromRow, k);
    }
  };
  for (long i = 0; i < nb; i++) {
    copy(o.SatClk, i, o.nsat, o.satList, o.satIx, i);
    epoch(i) = o.epoch(i);
  }
  for (long i = 0; i < n0; i++) {
    copy(clk0, i, ns0, satList, satIx, nb + i);
    epoch(nb + i) = epoch0(i);
  }
  for (long i = 0; i < na; i++) {
    copy(o.SatClk, o.nepoch - na + i, o.nsat, o.satList, o.satIx, nb + n0 + i);
    epoch(nb + n0 + i) = o.epoch(o.nepoch - na + i);
  }
  nepoch = static_cast<int32_t>(ne);
  // Shared end epochs: values kept, missing ones filled, differences counted.
  int differing = 0;
  long double worst = 0;
  for (long i = nb; i < o.nepoch - na; i++) {
    for (long row : {nb, nb + n0 - 1}) {
      if (std::fabs(o.epoch(i) - epoch(row)) > tol) continue;
      for (long k = 0; k < o.nsat; k++) {
        const short s = o.satList(k);
        if (s <= 0 || s >= kMaxSatNumber || o.satIx(s) != k || o.SatClk(i, k) > 999.0L) continue;
        long double& mine = SatClk(row, satIx(s));
        if (mine > 999.0L) {
          mine = o.SatClk(i, k);
        } else if (std::fabs(mine - o.SatClk(i, k)) > 1e-9L) {
          ++differing;
          worst = std::max(worst, std::fabs(mine - o.SatClk(i, k)));
        }
      }
      if (nb + n0 - 1 == nb) break;  // a series of one epoch
    }
  }
  if (differing > 0) {
    char text[200];
    std::snprintf(text, sizeof text,
                  "RINEX CLOCK FILES DIFFER AT THEIR COMMON EPOCH: %d SATELLITES BY UP TO %.3f ns "
                  "- VALUES OF THE FILE GIVEN FIRST ARE KEPT: ",
                  differing, static_cast<double>(worst * 1e9L));
    ProgramWarning("Tervan", text + name);
  }
  SetInterval();
}

void GNSSpClk::ReadOne() {
  std::ifstream in(clkfile);
  if (!in) ProgramError("Tervan", "PRECISE MULTI-GNSS SATELLITE CLOCK FILE CAN NOT BE OPENED!");
  nsat = 0;
  satIx.Resize(kMaxSatNumber, 1, -1);
  ReadHeader(in);
  in.close();
  ReadData();
  SetInterval();
}

void GNSSpClk::SetInterval() {
  interval = 0;
  for (long i = 1; i < nepoch; i++) {
    const long double d = epoch(i) - epoch(i - 1);
    if (i == 1 || d < interval) interval = d;
  }
  nodeFirst = -1;  // the epochs may have changed
}

bool GNSSpClk::OutsideWarning(const mjd& t) {
  if (nepoch < 1) {
    EpochIx = 0;
    return true;
  }
  if (t < epoch(0)) {
    EpochIx = 0;
    if (epoch(0) - t > 300.0L)
      ProgramWarning("Tervan",
                     "RINEX CLOCK - GETTING INDEX - INPUT EPOCH OUT OF DATA INTERVAL (<-300s)");
    return true;
  }
  if (t > epoch(nepoch - 1)) {
    if (t - epoch(nepoch - 1) > 300.0L)
      ProgramWarning("Tervan",
                     "RINEX CLOCK - GETTING INDEX - INPUT EPOCH OUT OF DATA INTERVAL (>300s)");
    return true;
  }
  return false;
}

void GNSSpClk::SetEpochIndex(const mjd& t) {
  if (OutsideWarning(t)) {
    if (nepoch > 0 && t > epoch(nepoch - 1)) EpochIx = nepoch > 1 ? nepoch - 2 : 0;
    return;
  }
  // Last epoch at or before t: mostly still the one found for the epoch before.
  const long e = EpochIx;
  if (e >= 0 && e < nepoch && epoch(e) <= t && (e + 1 == nepoch || !(epoch(e + 1) <= t))) return;
  long lo = 0, hi = nepoch - 1;
  while (lo < hi) {
    const long mid = (lo + hi + 1) / 2;
    if (epoch(mid) <= t)
      lo = mid;
    else
      hi = mid - 1;
  }
  EpochIx = static_cast<int32_t>(lo);
}

void GNSSpClk::SetEpochIndex(const mjd& t, long start) {
  if (OutsideWarning(t)) {
    if (nepoch > 0 && t > epoch(nepoch - 1)) EpochIx = nepoch - 1;
    return;
  }
  long i = start < 0 ? 0 : (start >= nepoch ? nepoch - 1 : start);
  while (i > 0 && !(epoch(i) <= t)) --i;
  while (i < nepoch - 1 && epoch(i + 1) <= t) ++i;
  EpochIx = static_cast<int32_t>(i);
}

void GNSSpClk::GetSatelliteClock(const short& sat, const mjd& t, long double& dt) {
  DTisOK = false;
  if (sat < 0 || sat >= kMaxSatNumber || satIx(sat) < 0 || nepoch < 4) return;
  const long col = satIx(sat);
  long first;
  // Nodes around t: one before and two after the epoch index where the series
  // allows it.
  const bool centred =
      EpochIx >= 1 && EpochIx <= nepoch - 3 && !(t < epoch(0)) && !(t > epoch(nepoch - 1));
  if (EpochIx == 0)
    first = 0;
  else if (EpochIx <= nepoch - 3)
    first = EpochIx - 1;
  else
    first = nepoch - 4;
  if (!centred && !offCentreWarned) {
    offCentreWarned = true;
    ProgramWarning("Tervan",
                   "EPOCH NEAR THE END OF THE PRECISE CLOCKS: INTERPOLATION NOT CENTRED - GIVE "
                   "THE CLOCK FILE OF THE NEIGHBOURING DAY!");
  }
  for (int i = 0; i < 4; i++)
    if (SatClk(first + i, col) > 999.0L) return;
  if (first != nodeFirst) SetNodes(first);
  // Lagrange weights on the node epochs themselves (minutes from the first node),
  // so that a gap in the clock records does not distort the interpolation.
  const long double dx = (t - epoch(first)) / 60.0L;
  const long double d[4] = {dx - nodeMinutes[0], dx - nodeMinutes[1], dx - nodeMinutes[2],
                            dx - nodeMinutes[3]};
  dt = 0.0L;
  for (int i = 0; i < 4; i++) {
    long double num = 1.0L;
    for (int j = 0; j < 4; j++)
      if (j != i) num *= d[j];
    dt += num / nodeDen[i] * SatClk(first + i, col);
  }
  DTisOK = true;
}

void GNSSpClk::SetNodes(long first) {
  for (int i = 0; i < 4; i++) nodeMinutes[i] = (epoch(first + i) - epoch(first)) / 60.0L;
  for (int i = 0; i < 4; i++) {
    long double den = 1.0L;
    for (int j = 0; j < 4; j++)
      if (j != i) den *= nodeMinutes[i] - nodeMinutes[j];
    nodeDen[i] = den;
  }
  nodeFirst = first;
}
