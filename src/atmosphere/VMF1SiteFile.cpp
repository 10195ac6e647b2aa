#include "atmosphere/VMF1SiteFile.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <new>
#include <sstream>
#include <vector>

#include "core/ProgramError.h"

namespace {

// Values the two epoch and value tables may hold (rows times the longest row); decades of
// six-hourly values for hundreds of stations stay well below it.
const long double kMaxValues = 5.0e7L;

bool IsComment(const std::string& line) {
  return line.empty() || line[0] == '#' || line[0] == ' ' || line[0] == '\t' || line[0] == '\r';
}

// One parsed data row of the file.
struct Row {
  std::string name, label;
  long n = 0;
  bool isRow = false;     // the line starts with string, string, integer
  bool complete = false;  // and holds its n triples of numbers, epochs ascending
};

Row ParseRow(const std::string& line, long double* ephs, long double* vals, long room) {
  Row row;
  std::istringstream in(line);
  if (!(in >> row.name >> row.label >> row.n)) return row;
  row.isRow = true;
  if (row.n < 0) return row;
  for (long k = 0; k < row.n; k++) {
    long double day, sec, val;
    if (!(in >> day >> sec >> val)) return row;
    const long double eph = day + sec / 86400.0L;
    if (k > 0 && ephs && !(eph > ephs[k - 1])) return row;
    if (ephs && k < room) {
      ephs[k] = eph;
      vals[k] = val;
    }
  }
  row.complete = true;
  return row;
}

bool SameLabel(const std::string& label, const char* lower) {
  std::string upper(lower);
  for (char& ch : upper) ch = static_cast<char>(ch - 'a' + 'A');
  return label == lower || label == upper;
}

}  // namespace

VMF1SiteFile::VMF1SiteFile(const Usage& u) : npts(0), nrec(0), ixH(-1), ixW(-1), use(u) {
  file[0] = '\0';
}

void VMF1SiteFile::SetFile(const char* name) {
  std::snprintf(file, sizeof(file), "%s", name);
}

void VMF1SiteFile::Corrupt(const std::string& what, long line) const {
  char text[160];
  std::snprintf(text, sizeof(text), "ERROR READING VMF1 TROPOSPHERE MODEL FILE (%s IN LINE %ld)!",
                what.c_str(), line);
  FileError(use.cls, text);
}

// First pass: counts the rows and the largest count of values; checks every row whole.
long VMF1SiteFile::CountRows() {
  std::ifstream in(file);
  if (!in)
    FileError(use.cls,
              std::string("VMF1 TROPOSPHERE MODEL FILE CAN NOT BE OPENED [") + file + "]!");
  npts = nrec = 0;
  std::string line;
  long nline = 0;
  std::vector<long double> ep, va;
  while (std::getline(in, line)) {
    nline++;
    if (IsComment(line)) continue;
    Row row = ParseRow(line, nullptr, nullptr, 0);
    if (!row.isRow) continue;
    if (row.n < 0) Corrupt("NEGATIVE COUNT", nline);
    // The count is trusted for storage only once the line has shown that many triples.
    if (!row.complete) Corrupt("MISSING OR UNORDERED VALUES", nline);
    ep.assign(row.n, 0.0L);
    va.assign(row.n, 0.0L);
    row = ParseRow(line, ep.data(), va.data(), row.n);
    if (!row.complete) Corrupt("MISSING OR UNORDERED VALUES", nline);
    npts++;
    if (row.n > nrec) nrec = row.n;
  }
  return npts;
}

void VMF1SiteFile::ReadFile() {
  CountRows();
  // Every row takes room for the longest one: a few long rows among many short ones could
  // ask for more memory than any machine has.
  const long width = nrec > 0 ? nrec : 1;
  bool fits = static_cast<long double>(npts) * width <= kMaxValues;
  if (fits) {
    try {
      pt.Resize(npts, 1);
      label.Resize(npts, 1);
      ndata.Resize(npts, 1);
      ephs.Resize(npts, width, 0.0L);
      data.Resize(npts, width, 0.0L);
    } catch (const std::bad_alloc&) {
      fits = false;
    }
  }
  if (!fits)
    FileError(use.cls, "VMF1 TROPOSPHERE MODEL FILE TOO LARGE (" + std::to_string(npts) +
                           " ROWS OF UP TO " + std::to_string(nrec) + " VALUES)!");

  std::ifstream in(file);
  std::string line;
  long i = 0;
  std::vector<long double> ep(width), va(width);
  while (std::getline(in, line)) {
    if (IsComment(line)) continue;
    const Row row = ParseRow(line, ep.data(), va.data(), nrec);
    if (!row.isRow) continue;
    if (i >= npts || !row.complete || row.n > nrec)
      FileError(use.cls, "ERROR READING VMF1 TROPOSPHERE MODEL FILE (I>N)!");
    pt(i) = row.name;
    label(i) = row.label;
    ndata(i) = row.n;
    for (long k = 0; k < row.n; k++) {
      ephs(i, k) = ep[k];
      data(i, k) = va[k];
    }
    i++;
  }
}

void VMF1SiteFile::SetPoint(const char* name) {
  ixH = ixW = -1;
  for (long i = 0; i < npts; i++) {
    if (pt(i) != name) continue;
    if (SameLabel(label(i), use.labelH)) ixH = i;
    if (SameLabel(label(i), use.labelW)) ixW = i;
  }
}

long double VMF1SiteFile::Interpolate(long double x, long row) const {
  if (row < 0 || row >= npts) return 0.0L;
  const long n = ndata(row);
  if (n <= 0) return 0.0L;
  if (x <= ephs(row, 0)) return data(row, 0);
  if (x >= ephs(row, n - 1)) return data(row, n - 1);
  for (long j = 1; j < n; j++) {
    if (ephs(row, j - 1) <= x && x <= ephs(row, j)) {
      const long double w = (ephs(row, j) - x) / (ephs(row, j) - ephs(row, j - 1));
      return w * data(row, j - 1) + (1.0L - w) * data(row, j);
    }
  }
  return data(row, n - 1);
}
