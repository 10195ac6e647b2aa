#include "core/TextFields.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <istream>

#include "core/ProgramError.h"

namespace textfield {

namespace {

// Powers of ten that are exact in extended precision (10^27 < 2^64 * 2^27).
constexpr int kMaxExactPow = 27;
const long double kPow10[kMaxExactPow + 1] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,
                                              1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
                                              1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L,
                                              1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};

const char* const kBlanks = " \t\r\n";

const char* SkipBlanks(const char* p, const char* end) {
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  return p;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsExponent(char c) {
  return c == 'e' || c == 'E' || c == 'd' || c == 'D';
}

// The C library's conversion of a bounded copy (Fortran "D" read as "E"), for the
// rare forms that the fast path leaves (exponents, very long mantissas).
bool SlowDecimal(const char* p, const char* end, long double& value, const char** stop) {
  char buf[128];
  size_t n = static_cast<size_t>(end - p);
  if (n > sizeof(buf) - 1) n = sizeof(buf) - 1;
  std::memcpy(buf, p, n);
  buf[n] = '\0';
  for (size_t i = 0; i < n; ++i)
    if (buf[i] == 'd' || buf[i] == 'D') buf[i] = 'E';
  char* e = nullptr;
  value = std::strtold(buf, &e);
  if (e == buf || !std::isfinite(value)) {
    value = 0;
    return false;
  }
  if (stop) *stop = p + (e - buf);
  return true;
}

const char* Begin(const std::string& s) {
  return s.c_str();
}

const char* End(const std::string& s) {
  return s.c_str() + s.size();
}

// A short exponent after the mantissa (E or Fortran D, optional sign, 1 to 4 digits):
// adds it to scale and moves q past it. Other forms are left to the C library.
bool ExponentOf(const char*& q, const char* end, int& scale) {
  const char* r = q + 1;
  bool neg = false;
  if (r < end && (*r == '-' || *r == '+')) neg = (*r++ == '-');
  int e = 0, n = 0;
  for (; r < end && IsDigit(*r); ++r, ++n) e = e * 10 + (*r - '0');
  if (n == 0 || n > 4) return false;
  scale += neg ? -e : e;
  q = r;
  return true;
}

}  // namespace

bool ParseDecimal(const char* p, const char* end, long double& value, const char** stop) {
  value = 0;
  const char* s = SkipBlanks(p, end);
  const char* q = s;
  bool neg = false;
  if (q < end && (*q == '-' || *q == '+')) neg = (*q++ == '-');
  // The digits before and after the point; zeros before the first other digit add
  // nothing to the mantissa and are not significant. A mantissa of more than 19
  // significant digits (which may have wrapped around) goes to the C library.
  uint64_t mant = 0;
  const char* first = q;
  while (q < end && *q == '0') ++q;
  const char* lead = q;
  while (q < end && IsDigit(*q)) mant = mant * 10 + static_cast<uint64_t>(*q++ - '0');
  long sig = q - lead;      // significant digits in mant
  long digits = q - first;  // all digits read
  long frac = 0;            // digits after the point
  if (q < end && *q == '.') {
    const char* point = ++q;
    if (sig == 0)
      while (q < end && *q == '0') ++q;
    lead = q;
    while (q < end && IsDigit(*q)) mant = mant * 10 + static_cast<uint64_t>(*q++ - '0');
    sig += q - lead;
    frac = q - point;
    digits += frac;
  }
  if (sig > 19) return SlowDecimal(s, end, value, stop);
  if (digits == 0) return false;
  int scale = static_cast<int>(-frac);  // value = mant * 10^scale
  if (q < end && IsExponent(*q) && !ExponentOf(q, end, scale))
    return SlowDecimal(s, end, value, stop);
  if (scale < -kMaxExactPow || scale > kMaxExactPow) return SlowDecimal(s, end, value, stop);
  // Both factors are exact, so the one rounding of the product or quotient gives the
  // correctly rounded value, the same as the C library's.
  const long double m = static_cast<long double>(mant);
  const long double v = scale < 0 ? m / kPow10[-scale] : m * kPow10[scale];
  value = neg ? -v : v;
  if (stop) *stop = q;
  return true;
}

bool ParseInteger(const char* p, const char* end, long& value, const char** stop) {
  value = 0;
  const char* q = SkipBlanks(p, end);
  bool neg = false;
  if (q < end && (*q == '-' || *q == '+')) neg = (*q++ == '-');
  const char* first = q;
  long long v = 0;
  for (; q < end && IsDigit(*q); ++q) {
    v = v * 10 + (*q - '0');
    if (v > 2147483647LL) return false;
  }
  if (q == first) return false;
  value = static_cast<long>(neg ? -v : v);
  if (stop) *stop = q;
  return true;
}

bool IsBlank(const char* b, const char* e) {
  for (; b < e; ++b)
    if (*b != ' ' && *b != '\t' && *b != '\r' && *b != '\n') return false;
  return true;
}

bool RealOrAt(const char* line, size_t len, size_t from, size_t width, long double blank,
              long double& v) {
  const char *b, *e;
  FieldRange(line, len, from, width, b, e);
  long double x = blank;
  if (!IsBlank(b, e) && !ParseDecimal(b, e, x)) return false;
  v = x;
  return true;
}

bool IntOrAt(const char* line, size_t len, size_t from, size_t width, long blank, long& v) {
  const char *b, *e;
  FieldRange(line, len, from, width, b, e);
  long x = blank;
  if (!IsBlank(b, e) && !ParseInteger(b, e, x)) return false;
  v = x;
  return true;
}

std::string Cut(const std::string& line, size_t pos, size_t len) {
  return pos < line.size() ? line.substr(pos, len) : std::string();
}

std::string Padded(const std::string& line, size_t pos, size_t len) {
  std::string s = Cut(line, pos, len);
  s.resize(len, ' ');
  return s;
}

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(kBlanks);
  if (b == std::string::npos) return std::string();
  return s.substr(b, s.find_last_not_of(kBlanks) - b + 1);
}

std::string Trimmed(const std::string& line, size_t pos, size_t len) {
  return Trim(Cut(line, pos, len));
}

bool IsBlank(const std::string& s) {
  return IsBlank(Begin(s), End(s));
}

bool HasLabel(const std::string& line, const char* label) {
  return line.find(label) != std::string::npos;
}

bool LabelAt(const std::string& line, size_t col, const char* label) {
  return line.size() > col && line.compare(col, std::strlen(label), label) == 0;
}

bool SkipPastLabel(std::istream& in, const char* label) {
  std::string line;
  while (GetLine(in, line))
    if (HasLabel(line, label)) return true;
  return false;
}

std::optional<long double> Real(const std::string& text) {
  long double v;
  if (!ParseDecimal(Begin(text), End(text), v)) return std::nullopt;
  return v;
}

std::optional<long double> Real(const std::string& line, size_t pos, size_t len) {
  return Real(Cut(line, pos, len));
}

bool RealFrom(const std::string& line, size_t col, long double& v) {
  if (col >= line.size()) {
    v = 0;
    return false;
  }
  return ParseDecimal(Begin(line) + col, End(line), v);
}

std::optional<long> Int(const std::string& text) {
  long v;
  if (!ParseInteger(Begin(text), End(text), v)) return std::nullopt;
  return v;
}

std::optional<long> Int(const std::string& line, size_t pos, size_t len) {
  return Int(Cut(line, pos, len));
}

std::optional<long double> RealOr(const std::string& line, size_t pos, size_t len,
                                  long double blank) {
  long double v;
  if (!RealOrAt(Begin(line), line.size(), pos, len, blank, v)) return std::nullopt;
  return v;
}

std::optional<long> IntOr(const std::string& line, size_t pos, size_t len, long blank) {
  long v;
  if (!IntOrAt(Begin(line), line.size(), pos, len, blank, v)) return std::nullopt;
  return v;
}

std::string MalformedField(const std::string& file, const std::string& line, size_t pos, size_t len,
                           long lineNo) {
  const size_t last = len == std::string::npos ? line.size() : pos + len;
  const std::string where = lineNo > 0 ? "LINE " + std::to_string(lineNo) + " OF " : "";
  return "MALFORMED NUMBER IN COLUMNS " + std::to_string(pos + 1) + "-" + std::to_string(last) +
         " OF " + where + file + ": " + Trim(line);
}

void FieldError(const FieldSource& src, const std::string& line, size_t pos, size_t len) {
  FileError(src.cls, MalformedField(src.file, line, pos, len, src.line), src.mark);
}

FieldState FixedField(const std::string& line, size_t pos, size_t len, long double& v) {
  const char *b, *e;
  FieldRange(Begin(line), line.size(), pos, len, b, e);
  b = SkipBlanks(b, e);
  if (b == e) return FieldState::kBlank;
  while (e > b && (e[-1] == ' ' || e[-1] == '\t')) --e;
  for (const char* p = b; p < e; ++p)
    if (!IsDigit(*p) && *p != '.' && *p != '+' && *p != '-') return FieldState::kMalformed;
  long double x;
  const char* stop = nullptr;
  if (!ParseDecimal(b, e, x, &stop) || stop != e) return FieldState::kMalformed;
  v = x;
  return FieldState::kNumber;
}

std::optional<long double> Fixed(const std::string& line, size_t pos, size_t len) {
  long double v;
  if (FixedField(line, pos, len, v) != FieldState::kNumber) return std::nullopt;
  return v;
}

std::optional<long> FixedInt(const std::string& line, size_t pos, size_t len) {
  const char *b, *e;
  FieldRange(Begin(line), line.size(), pos, len, b, e);
  while (e > b && (e[-1] == ' ' || e[-1] == '\t')) --e;
  long v;
  const char* stop = nullptr;
  if (!ParseInteger(b, e, v, &stop) || stop != e) return std::nullopt;
  return v;
}

void CopyText(char* out, size_t size, const std::string& text) {
  if (size == 0) return;
  const size_t n = text.size() < size - 1 ? text.size() : size - 1;
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
}

namespace {
// The slot of a stream that counts the lines GetLine read from it.
const int kLineSlot = std::ios_base::xalloc();
}  // namespace

bool GetLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  ++in.iword(kLineSlot);
  return true;
}

long LineNumber(std::istream& in) {
  return in.iword(kLineSlot);
}

}  // namespace textfield
