#include "sdiff/SatCRX.h"

#include <cstring>
#include <fstream>

#include "core/LineReader.h"
#include "core/ProgramError.h"
#include "core/TextFields.h"
#include "gnss/TimeConverse.h"

using textfield::FieldRange;
using textfield::ParseDecimal;
using textfield::ParseInteger;

namespace {

constexpr int kHeaderLines = 6;
// Columns of satellite, type, action, and of year, month, day, hour, minute,
// second of the window start and end; each field runs to the next one.
const size_t kSatCol = 1, kTypeCol = 13, kActCol = 21;
const size_t kStart[7] = {32, 37, 40, 43, 46, 49, 53};
const size_t kEnd[7] = {53, 58, 61, 64, 67, 70, 512};

long IntAt(const char* line, size_t len, size_t from, size_t to) {
  const char *b, *e;
  FieldRange(line, len, from, to - from, b, e);
  long v = 0;
  ParseInteger(b, e, v);
  return v;
}

short ToShort(long v) {
  return static_cast<short>(v < -32768 ? -32768 : (v > 32767 ? 32767 : v));
}

size_t TrimmedLength(const char* p, size_t n) {
  size_t b = 0;
  while (b < n && (p[b] == ' ' || p[b] == '\t')) ++b;
  while (n > b && (p[n - 1] == ' ' || p[n - 1] == '\t')) --n;
  return n - b;
}

}  // namespace

SatCRX::SatCRX() : lastEph(88068, 86399.0L) {
  file[0] = '\0';
}

void SatCRX::SetFile(const char* name) {
  if (std::strlen(name) >= sizeof(file))
    ProgramError("Tervan", "SATELLITE PROBLEM FILE NAME IS TOO LONG!");
  std::strcpy(file, name);
  std::ifstream in(name);
  if (!in) ProgramError("Tervan", "SATELLITE PROBLEM FILE DOES NOT EXIST!");
}

// Calls entry(line, len) for every entry line: the lines behind the six header
// lines up to the first line shorter than five characters after trimming, whose
// column 14 holds 1, 2 or 3.
template <class Entry>
void SatCRX::ForEachEntry(Entry entry) {
  std::ifstream in(file, std::ios::binary);
  if (!in) ProgramError("Tervan", "SATELLITE PROBLEM FILE CAN NOT BE OPENED!");
  LineReader lr(in, 511);
  const char* p;
  size_t n;
  for (int i = 0; i < kHeaderLines; ++i)
    if (!lr.Next(p, n)) return;
  while (lr.Next(p, n) && TrimmedLength(p, n) >= 5) {
    if (n > 14 && p[14] >= '1' && p[14] <= '3') entry(p, n);
  }
}

void SatCRX::CountGNSSats() {
  nsat = 0;
  ForEachEntry([this](const char*, size_t) { ++nsat; });
  if (nsat == 0) return;
  sat.Resize(nsat);
  eph.Resize(nsat, 2);
  TypAct.Resize(nsat, 2);
}

mjd SatCRX::EpochAt(const char* line, size_t len, const size_t* cols) {
  long v[5];
  for (int k = 0; k < 5; ++k) v[k] = IntAt(line, len, cols[k], cols[k + 1]);
  const char *b, *e;
  FieldRange(line, len, cols[5], cols[6] - cols[5], b, e);
  long double sec = 0;
  ParseDecimal(b, e, sec);
  dm = ymdhms(v[0], v[1], v[2], v[3], v[4], sec);
  return ymdhms2mjd(dm);
}

void SatCRX::ReadSatProblems() {
  long i = 0;
  ForEachEntry([this, &i](const char* p, size_t n) {
    if (i >= nsat) return;  // the file grew since it was counted
    sat(i) = ToShort(IntAt(p, n, kSatCol, kTypeCol));
    TypAct(i, 0) = ToShort(IntAt(p, n, kTypeCol, kActCol));
    TypAct(i, 1) = ToShort(IntAt(p, n, kActCol, kStart[0]));
    eph(i, 0) = EpochAt(p, n, kStart);
    bool open = n < 72 || p[53] == ' ';
    eph(i, 1) = open ? lastEph : EpochAt(p, n, kEnd);
    ++i;
  });
  nsat = i;
}

void SatCRX::ReadFile() {
  CountGNSSats();
  ReadSatProblems();
}
