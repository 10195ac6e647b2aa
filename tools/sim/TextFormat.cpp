#include "sim/TextFormat.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace sim {

std::string Format(const char* fmt, ...) {
  char buf[1024];
  va_list ap;
  va_start(ap, fmt);
  std::vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  return buf;
}

std::string FormatExp(long double value, int width, int decimals, char letter) {
  std::string s = Format("%*.*Le", width, decimals, value);
  const std::string::size_type e = s.find('e');
  if (e != std::string::npos) s[e] = letter;
  return s;
}

long double RoundExp(long double value, int decimals) {
  const std::string s = Format("%.*Le", decimals, value);
  return std::strtold(s.c_str(), nullptr);
}

}  // namespace sim
