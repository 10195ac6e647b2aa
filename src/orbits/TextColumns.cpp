#include "orbits/TextColumns.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <istream>

namespace textcol {

std::string Cut(const std::string& line, size_t pos, size_t len) {
  if (pos >= line.size()) return std::string();
  return line.substr(pos, len);
}

long double Real(const std::string& text) {
  std::string s = text;
  for (char& ch : s)
    if (ch == 'D' || ch == 'd') ch = 'E';
  const char* b = s.c_str();
  while (*b == ' ') ++b;
  // Only plain decimal numbers: no hexadecimal, "inf" or "nan" texts.
  if (!(*b == '+' || *b == '-' || *b == '.' || (*b >= '0' && *b <= '9'))) return 0.0L;
  char* end = nullptr;
  const long double v = std::strtold(b, &end);
  if (end == b || !std::isfinite(v)) return 0.0L;
  return v;
}

long Int(const std::string& text) {
  const char* b = text.c_str();
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(b, &end, 10);
  if (end == b || errno == ERANGE || v > INT_MAX || v < INT_MIN) return 0;
  return v;
}

bool HasInt(const std::string& text) {
  const char* b = text.c_str();
  char* end = nullptr;
  std::strtol(b, &end, 10);
  return end != b;
}

bool GetLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

}  // namespace textcol
