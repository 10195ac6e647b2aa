#include "sdiff/SdColumns.h"

#include <cstdint>
#include <cstdlib>

std::string SdColumn(const std::string& line, size_t from, size_t len) {
  std::string s = from < line.size() ? line.substr(from, len) : std::string();
  s.resize(len, ' ');
  return s;
}

std::string SdTrim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

std::string SdLabel(const std::string& line) {
  return line.size() > 60 ? SdTrim(line.substr(60)) : std::string();
}

bool SdHasLabel(const std::string& line, const char* label) {
  return line.size() > 60 && line.compare(60, std::char_traits<char>::length(label), label) == 0;
}

SdField SdParseNumber(const std::string& line, size_t from, size_t len, long double& value) {
  size_t end = std::min(line.size(), from + len);
  size_t i = from;
  while (i < end && line[i] == ' ') ++i;
  if (i >= end) return SdField::kBlank;
  while (end > i && line[end - 1] == ' ') --end;
  bool neg = false;
  if (line[i] == '-' || line[i] == '+') neg = line[i++] == '-';
  // Digits are gathered as an integer and scaled once, so F14.3 values are exact
  // to the last printed digit.
  int64_t mant = 0;
  int digits = 0, decimals = 0;
  bool point = false;
  for (; i < end; ++i) {
    char c = line[i];
    if (c == '.' && !point) {
      point = true;
    } else if (c >= '0' && c <= '9') {
      if (digits >= 18) return SdField::kBad;
      mant = mant * 10 + (c - '0');
      ++digits;
      if (point) ++decimals;
    } else {
      return SdField::kBad;
    }
  }
  if (digits == 0) return SdField::kBad;
  long double v = static_cast<long double>(mant);
  static const long double kPow10[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,
                                       1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
                                       1e14L, 1e15L, 1e16L, 1e17L, 1e18L};
  v /= kPow10[decimals];
  value = neg ? -v : v;
  return SdField::kNumber;
}

bool SdParseInt(const std::string& line, size_t from, size_t len, long& value) {
  long double v;
  if (SdParseNumber(line, from, len, v) != SdField::kNumber) return false;
  if (v != static_cast<long double>(static_cast<long>(v))) return false;
  std::string f = SdColumn(line, from, len);
  if (f.find('.') != std::string::npos) return false;
  value = static_cast<long>(v);
  return true;
}
