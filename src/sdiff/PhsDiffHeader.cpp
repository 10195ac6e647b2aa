#include "sdiff/PhsDiffHeader.h"

#include <cstdio>
#include <cstring>
#include <istream>
#include <ostream>

#include "core/LineReader.h"
#include "core/ProgramError.h"
#include "core/TextFields.h"

using textfield::FieldRange;
using textfield::ParseDecimal;
using textfield::ParseInteger;

namespace sdobs {

namespace {
const char* const kTokens[NTYPES] = {" C1", " P1", " P2", " L1", " L2", " C2", " S1", " S2", " D1",
                                     " D2", " C5", " L5", " D5", " S5", " C6", " L6", " D6", " S6",
                                     " C7", " L7", " D7", " S7", " C8", " L8", " D8", " S8"};
}

const char* Token(int code) {
  return (code >= 0 && code < NTYPES) ? kTokens[code] : "   ";
}

int CodeOf(const char* token3) {
  for (int k = 0; k < NTYPES; ++k)
    if (std::strncmp(token3, kTokens[k], 3) == 0) return k;
  return -1;
}

}  // namespace sdobs

namespace {

constexpr size_t kHeaderLine = 511;                 // header lines are read up to this length
constexpr size_t kLabelEnd = 17;                    // values begin behind the label and its colon
constexpr long kMaxTypes = (kHeaderLine - 21) / 3;  // tokens one header line can hold

const char* const kNotValid =
    "OBSERVATION DIFFERENCE FILE IS NOT IN VALID FORMAT [1. LINE: "
    "[SINGLE|DOUBLE|TRIPLE]_DIFFERENCES]!";
const char* const kNoEnd = "SINGLE DIFFERENCES FILE HAS NO END OF HEADER LINE!";

// Copies up to n characters from [b, e) into out (size n + 1), NUL-terminated.
void CopyText(const char* b, const char* e, size_t n, char* out) {
  size_t len = static_cast<size_t>(e - b);
  if (len > n) len = n;
  std::memcpy(out, b, len);
  out[len] = '\0';
}

// A pair of length-prefixed texts: 3 columns of length, a blank, the text; the
// BASE pair from column 17, the ROVER pair right behind the BASE text.
void ParsePair(const char* line, size_t len, size_t maxText, char* base, char* rover) {
  char* out[2] = {base, rover};
  size_t pos = kLabelEnd;
  for (int i = 0; i < 2; ++i) {
    const char *b, *e;
    FieldRange(line, len, pos, 3, b, e);
    long n = 0;
    if (!ParseInteger(b, e, n) || n < 0) n = 0;
    if (n > static_cast<long>(kHeaderLine)) n = static_cast<long>(kHeaderLine);
    FieldRange(line, len, pos + 4, static_cast<size_t>(n), b, e);
    CopyText(b, e, maxText, out[i]);
    pos += 4 + static_cast<size_t>(n);
  }
}

// Numbers of fixed width from the given columns.
void ParseColumns(const char* line, size_t len, const size_t* cols, int n, size_t width,
                  long double* out) {
  for (int k = 0; k < n; ++k) {
    const char *b, *e;
    FieldRange(line, len, cols[k], width, b, e);
    ParseDecimal(b, e, out[k]);
  }
}

bool Contains(const char* line, const char* label) {
  return std::strstr(line, label) != nullptr;
}

void SetText(const char* s, size_t maxText, char* out) {
  CopyText(s, s + std::strlen(s), maxText, out);
}

}  // namespace

PhsDiffHeader::PhsDiffHeader() : X0(2, 1), Dp(2, 1), obs() {
  for (int i = 0; i < 2; ++i) {
    mname[i][0] = mnumber[i][0] = rectype[i][0] = anttype[i][0] = antserial[i][0] = '\0';
  }
}

bool* PhsDiffHeader::TypeFlag(int code) {
  bool* flags[sdobs::NTYPES] = {&iC1, &iP1, &iP2, &iL1, &iL2, &iC2, &iS1, &iS2, &iD1,
                                &iD2, &iC5, &iL5, &iD5, &iS5, &iC6, &iL6, &iD6, &iS6,
                                &iC7, &iL7, &iD7, &iS7, &iC8, &iL8, &iD8, &iS8};
  return (code >= 0 && code < sdobs::NTYPES) ? flags[code] : nullptr;
}

bool PhsDiffHeader::HasType(int code) const {
  bool* f = const_cast<PhsDiffHeader*>(this)->TypeFlag(code);
  return f ? *f : false;
}

void PhsDiffHeader::SetType(int code, bool present) {
  if (bool* f = TypeFlag(code)) *f = present;
}

void PhsDiffHeader::SetMarkerName(int i, const char* s) {
  SetText(s, 60, mname[i]);
}
void PhsDiffHeader::SetMarkerNumber(int i, const char* s) {
  SetText(s, 20, mnumber[i]);
}
void PhsDiffHeader::SetReceiverType(int i, const char* s) {
  SetText(s, 20, rectype[i]);
}
void PhsDiffHeader::SetAntennaType(int i, const char* s) {
  SetText(s, 20, anttype[i]);
}
void PhsDiffHeader::SetAntennaSerial(int i, const char* s) {
  SetText(s, 20, antserial[i]);
}

void PhsDiffHeader::SetObsTypes(const matrix<short>& codes) {
  for (int k = 0; k < sdobs::NTYPES; ++k) SetType(k, false);
  nobs = static_cast<short>(codes.Length());
  obs = codes;
  for (long k = 0; k < nobs; ++k) SetType(obs(k), true);
}

void PhsDiffHeader::ParseTypes(const char* line, size_t len) {
  const char *b, *e;
  FieldRange(line, len, kLabelEnd, 4, b, e);
  long n = 0;
  if (!ParseInteger(b, e, n) || n < 0 || n > kMaxTypes)
    ProgramError("Tervan",
                 "INVALID NUMBER OF OBSERVATION TYPES IN SINGLE DIFFERENCES FILE HEADER!");
  matrix<short> codes;
  if (n > 0) codes.Resize(n, 1, -1);
  for (long k = 0; k < n; ++k) {
    size_t col = 21 + 3 * static_cast<size_t>(k);
    if (col + 3 <= len) codes(k) = static_cast<short>(sdobs::CodeOf(line + col));
  }
  SetObsTypes(codes);
}

void PhsDiffHeader::ParseLine(const char* line, size_t len) {
  static const size_t kXyz[6] = {17, 31, 45, 61, 75, 89};
  static const size_t kNeu[6] = {17, 29, 41, 53, 65, 77};
  long double v[6] = {0, 0, 0, 0, 0, 0};
  if (Contains(line, "MARKER NAME")) {
    ParsePair(line, len, 60, mname[0], mname[1]);
  } else if (Contains(line, "MARKER NUMBER")) {
    ParsePair(line, len, 20, mnumber[0], mnumber[1]);
  } else if (Contains(line, "RECEIVER TYPE")) {
    ParsePair(line, len, 20, rectype[0], rectype[1]);
  } else if (Contains(line, "ANTENNA TYPE")) {
    ParsePair(line, len, 20, anttype[0], anttype[1]);
  } else if (Contains(line, "ANTENNA SERIAL")) {
    ParsePair(line, len, 20, antserial[0], antserial[1]);
  } else if (Contains(line, "XYZ POSITION")) {
    ParseColumns(line, len, kXyz, 6, 14, v);
    X0(0) = xyz(v[0], v[1], v[2]);
    X0(1) = xyz(v[3], v[4], v[5]);
  } else if (Contains(line, "DELTA N/E/U")) {
    ParseColumns(line, len, kNeu, 6, 12, v);
    Dp(0) = neu(v[0], v[1], v[2]);
    Dp(1) = neu(v[3], v[4], v[5]);
  } else if (Contains(line, "# & TYPES OF OBS")) {
    ParseTypes(line, len);
  } else if (Contains(line, "DIFFERENCE LEVEL")) {
    const char *b, *e;
    FieldRange(line, len, kLabelEnd, kHeaderLine, b, e);
    long level = 1;
    if (ParseInteger(b, e, level)) diffLevel = static_cast<short>(level);
  }
}

void PhsDiffHeader::Read(LineReader& lr) {
  char buf[kHeaderLine + 1];
  const char* p;
  size_t n;
  bool first = lr.Next(p, n);
  if (first) CopyText(p, p + n, kHeaderLine, buf);
  if (!first || !(Contains(buf, "SINGLE_DIFFERENCES") || Contains(buf, "DOUBLE_DIFFERENCES") ||
                  Contains(buf, "TRIPLE_DIFFERENCES")))
    ProgramError("Tervan", kNotValid);
  IsValid = true;
  while (lr.Next(p, n)) {
    size_t len = n < kHeaderLine ? n : kHeaderLine;
    CopyText(p, p + len, kHeaderLine, buf);
    if (Contains(buf, "END OF HEADER")) {
      HasObservations = (len > 14 && buf[14] == '1');
      return;
    }
    ParseLine(buf, len);
  }
  ProgramError("Tervan", kNoEnd);
}

std::istream& operator>>(std::istream& is, PhsDiffHeader& h) {
  std::streampos start = is.tellg();
  LineReader lr(is);
  h.Read(lr);
  is.clear();
  if (start != std::streampos(-1)) is.seekg(start + lr.Consumed());
  return is;
}

namespace {

// A pair of texts as "LABEL           :" and, per station, the length in 3
// columns, a blank and the text.
template <size_t N>
void WritePair(std::ostream& os, const char* label, const char (&t)[2][N]) {
  char buf[2 * N + 40];
  std::snprintf(buf, sizeof(buf), "%-16s:%3d %s%3d %s\n", label,
                static_cast<int>(std::strlen(t[0])), t[0], static_cast<int>(std::strlen(t[1])),
                t[1]);
  os << buf;
}

}  // namespace

std::ostream& operator<<(std::ostream& os, const PhsDiffHeader& h) {
  static const char* const kFirst[3] = {"SINGLE_DIFFERENCES", "DOUBLE_DIFFERENCES",
                                        "TRIPLE_DIFFERENCES"};
  int level = (h.diffLevel >= 1 && h.diffLevel <= 3) ? h.diffLevel : 1;
  os << kFirst[level - 1] << '\n';
  WritePair(os, "MARKER NAME", h.mname);
  WritePair(os, "MARKER NUMBER", h.mnumber);
  WritePair(os, "RECEIVER TYPE", h.rectype);
  WritePair(os, "ANTENNA TYPE", h.anttype);
  WritePair(os, "ANTENNA SERIAL", h.antserial);
  char buf[160];
  const xyz &b = h.X0(0), &r = h.X0(1);
  std::snprintf(buf, sizeof(buf), "XYZ POSITION    :%14.4Lf%14.4Lf%14.4Lf  %14.4Lf%14.4Lf%14.4Lf\n",
                b.GetX(), b.GetY(), b.GetZ(), r.GetX(), r.GetY(), r.GetZ());
  os << buf;
  const neu &db = h.Dp(0), &dr = h.Dp(1);
  std::snprintf(buf, sizeof(buf), "DELTA N/E/U     :%12.4Lf%12.4Lf%12.4Lf%12.4Lf%12.4Lf%12.4Lf\n",
                db.GetN(), db.GetE(), db.GetU(), dr.GetN(), dr.GetE(), dr.GetU());
  os << buf;
  std::snprintf(buf, sizeof(buf), "# & TYPES OF OBS:%3d ", static_cast<int>(h.nobs));
  os << buf;
  for (long k = 0; k < h.nobs; ++k) os << sdobs::Token(h.obs(k));
  os << '\n';
  std::snprintf(buf, sizeof(buf), "DIFFERENCE LEVEL:%3d\n", static_cast<int>(h.diffLevel));
  os << buf;
  os << "END OF HEADER " << (h.HasObservations ? '1' : '0') << '\n';
  return os;
}
