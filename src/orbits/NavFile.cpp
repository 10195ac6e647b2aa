#include "orbits/NavFile.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iomanip>
#include <iostream>
#include <sstream>

#include "core/ProgramError.h"
#include "core/TextFields.h"
#include "orbits/OrbitText.h"

using textfield::Cut;
using textfield::Trim;

namespace navfile {

namespace {
// Malformed fields of line lineNo (0 when unknown) end the read naming it.
textfield::FieldSource Source(const std::string& cls, long lineNo) {
  return {cls, "RINEX NAVIGATION FILE", "####", lineNo};
}
}  // namespace

long double Value(const std::string& line, size_t pos, size_t len, const std::string& cls,
                  long lineNo) {
  return textfield::Need(textfield::RealOr(line, pos, len, 0.0L), Source(cls, lineNo), line, pos,
                         len);
}

long IntValue(const std::string& line, size_t pos, size_t len, const std::string& cls) {
  return textfield::Need(textfield::IntOr(line, pos, len, 0), Source(cls, 0), line, pos, len);
}

namespace {
const int kMaxSat = 100;  // satellite numbers within a system

// Values of one record line (line lineNo of the file): count fields of 19
// characters from column start.
void LineValues(const std::string& line, long lineNo, size_t start, int count, long double* out,
                const std::string& dataCls) {
  for (int k = 0; k < count; k++) out[k] = Value(line, start + 19 * k, 19, dataCls, lineNo);
}

// Record epoch and the seconds as written; false when the text is no epoch.
bool RecordEpoch(const std::string& text, Record& rec) {
  std::istringstream is(text);
  long double skip;
  is >> skip >> skip >> skip >> skip >> skip >> rec.second;
  return orbittext::ParseEpoch(text, rec.epoch);
}

// The record's lines end at line lastLine of the file.
void FillValues(const std::vector<std::string>& lines, long lastLine, size_t firstStart,
                size_t contStart, int nvalues, Record& rec, const std::string& dataCls) {
  const long firstLine = lastLine - static_cast<long>(lines.size()) + 1;
  LineValues(lines[0], firstLine, firstStart, std::min(3, nvalues), rec.values, dataCls);
  for (size_t l = 1; l < lines.size(); l++) {
    const int from = 3 + 4 * static_cast<int>(l - 1);
    if (from >= nvalues) break;
    LineValues(lines[l], firstLine + static_cast<long>(l), contStart, std::min(4, nvalues - from),
               rec.values + from, dataCls);
  }
}

void IncompleteRecord(const std::string& dataCls, const std::string& line) {
  ClassWarning(dataCls, "INCOMPLETE RECORD AT THE END OF FILE SKIPPED: " + Trim(line), true);
}

void BadEpoch(const std::string& dataCls, const std::string& line) {
  FileError(dataCls, "IMPROPER RECORD EPOCH: " + Trim(line), "####");
}

// Version 2: a record starts with the satellite number and has a fixed line count.
void ReadRecords2(std::istream& in, int nvalues, int linesV2, const std::string& dataCls,
                  std::vector<Record>& out) {
  std::string line;
  std::vector<std::string> lines;
  while (textfield::GetLine(in, line)) {
    if (!textfield::Int(line, 0, 2)) continue;
    lines.assign(1, line);
    for (int l = 1; l < linesV2 && textfield::GetLine(in, line); l++) lines.push_back(line);
    if (static_cast<int>(lines.size()) < linesV2) return IncompleteRecord(dataCls, lines[0]);
    Record rec;
    const long sat = textfield::Int(lines[0], 0, 2).value_or(0);
    if (sat < 1 || sat >= kMaxSat) continue;
    rec.sat = static_cast<short>(sat);
    if (!RecordEpoch(Cut(lines[0], 2, 20), rec)) BadEpoch(dataCls, lines[0]);
    FillValues(lines, textfield::LineNumber(in), 22, 3, nvalues, rec, dataCls);
    out.push_back(rec);
  }
}

// Version 3: a record starts with a system letter and the number; its other lines
// begin with blanks.
void ReadRecords3(std::istream& in, char system, int nvalues, const std::string& dataCls,
                  std::vector<Record>& out) {
  const size_t needLines = 1 + (nvalues - 3 + 3) / 4;
  std::string line;
  std::vector<std::string> lines;
  while (textfield::GetLine(in, line)) {
    if (line.empty() || !std::isupper(static_cast<unsigned char>(line[0]))) continue;
    lines.assign(1, line);
    while (in.peek() == ' ' && textfield::GetLine(in, line)) lines.push_back(line);
    if (lines[0][0] != system) continue;
    const long sat = textfield::Int(lines[0], 1, 2).value_or(0);
    if (sat < 1 || sat >= kMaxSat) continue;
    if (lines.size() < needLines) {
      if (in.peek() == EOF) return IncompleteRecord(dataCls, lines[0]);
      FileError(dataCls, "INCOMPLETE RECORD: " + Trim(lines[0]), "####");
    }
    Record rec;
    rec.sat = static_cast<short>(sat);
    if (!RecordEpoch(Cut(lines[0], 4, 19), rec)) BadEpoch(dataCls, lines[0]);
    FillValues(lines, textfield::LineNumber(in), 23, 4, nvalues, rec, dataCls);
    out.push_back(rec);
  }
}
}  // namespace

namespace {
template <size_t N>
void CopyField(char (&to)[N], const std::string& text) {
  std::strncpy(to, Trim(text).c_str(), N - 1);
  to[N - 1] = '\0';
}
}  // namespace

bool IdentityLabel(const std::string& line, float& version, char (&type)[20], char (&pgm)[21],
                   char (&runby)[21], char (&date)[20]) {
  if (line.find("RINEX VERSION / TYPE") != std::string::npos) {
    version = static_cast<float>(textfield::Real(line, 0, 9).value_or(0));
    CopyField(type, Cut(line, 20, 19));
    return true;
  }
  if (line.find("PGM / RUN BY / DATE") != std::string::npos) {
    CopyField(pgm, Cut(line, 0, 20));
    CopyField(runby, Cut(line, 20, 20));
    CopyField(date, Cut(line, 40, 20));
    return true;
  }
  return false;
}

void PrintParameter(const char* cls, const char* name, long double value) {
  std::cout << cls << ":: " << std::setw(10) << name << ": " << std::scientific
            << std::setprecision(15) << std::setw(30) << value << std::defaultfloat << '\n';
}

float ReadHeader(std::istream& in,
                 const std::function<bool(const std::string&, const std::string&)>& label,
                 const std::string& cls, const std::string& dataCls) {
  std::string line;
  float version = 0;
  while (textfield::GetLine(in, line)) {
    if (line.find("END OF HEADER") != std::string::npos) return version;
    if (line.find("RINEX VERSION / TYPE") != std::string::npos)
      version = static_cast<float>(Value(line, 0, 9, dataCls, textfield::LineNumber(in)));
    if (!label(line, Cut(line, 60)))
      ClassWarning(cls, Cut(line, 60) + " -> UNKNOWN HEADER LABEL", true);
  }
  FileError(dataCls, "END OF HEADER not found!", "####");
}

std::vector<Record> ReadRecords(std::istream& in, float version, char system, int nvalues,
                                int linesV2, const std::string& dataCls) {
  std::vector<Record> out;
  if (version >= 4.0f) FileError(dataCls, "RINEX NAVIGATION FILE VERSION NOT SUPPORTED!", "####");
  if (version >= 3.0f)
    ReadRecords3(in, system, nvalues, dataCls, out);
  else
    ReadRecords2(in, nvalues, linesV2, dataCls, out);
  if (out.empty()) FileError(dataCls, "NUMBER OF RECORDS not set!", "####");
  return out;
}

void DropUnusable(std::vector<Record>& records, char system,
                  const std::function<bool(const Record&)>& usable, const std::string& dataCls) {
  std::vector<Record> kept;
  for (const Record& r : records) {
    if (usable(r)) {
      kept.push_back(r);
      continue;
    }
    char text[96];
    std::snprintf(text, sizeof(text), "RECORD OF SATELLITE %c%02d WITH IMPROPER ORBIT SKIPPED!",
                  system, r.sat);
    ClassWarning(dataCls, text, true);
  }
  if (kept.empty()) FileError(dataCls, "NUMBER OF RECORDS not set!", "####");
  records.swap(kept);
}

void Index::Build(const matrix<short>& sat, const matrix<mjd>& epochs) {
  bySat.assign(kMaxSat, std::vector<long>());
  for (long i = 0; i < sat.NRow(); i++)
    if (sat(i) >= 0 && sat(i) < kMaxSat) bySat[sat(i)].push_back(i);
  for (auto& list : bySat)
    std::stable_sort(list.begin(), list.end(),
                     [&epochs](long a, long b) { return epochs(b) - epochs(a) > 1e-9L; });
}

bool Index::Has(short sat) const {
  return sat >= 0 && sat < static_cast<short>(bySat.size()) && !bySat[sat].empty();
}

long Index::Select(short sat, const mjd& t, const matrix<mjd>& epochs, bool forward) const {
  if (!Has(sat)) return -1;
  const std::vector<long>& list = bySat[sat];
  // First record not earlier than t.
  size_t lo = 0, hi = list.size();
  while (lo < hi) {
    const size_t mid = (lo + hi) / 2;
    if (t - epochs(list[mid]) > 1e-9L)
      lo = mid + 1;
    else
      hi = mid;
  }
  if (forward) {
    // A record at t itself, else the last one before t; of records sharing an
    // epoch the first in the file.
    size_t k = lo;
    if (k == list.size() || std::fabs(epochs(list[k]) - t) > 1e-9L) {
      if (k == 0) return list.front();  // before the first record
      --k;
    }
    while (k > 0 && std::fabs(epochs(list[k - 1]) - epochs(list[k])) <= 1e-9L) --k;
    return list[k];
  }
  if (lo == 0) return list.front();
  if (lo == list.size()) return list.back();
  const long q = list[lo - 1], p = list[lo];
  return epochs(p) - t < t - epochs(q) ? p : q;
}

}  // namespace navfile
