#include "atmosphere/TextColumns.h"

#include <cstdlib>
#include <cstring>

std::string ColumnText(const std::string& line, size_t pos, size_t n) {
  if (pos >= line.size()) return std::string();
  return line.substr(pos, n);
}

std::string ColumnTrimmed(const std::string& line, size_t pos, size_t n) {
  const std::string s = ColumnText(line, pos, n);
  const size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return std::string();
  const size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

long double ColumnNumber(const std::string& line, size_t pos, size_t n) {
  std::string s = ColumnText(line, pos, n);
  for (char& ch : s)
    if (ch == 'D' || ch == 'd') ch = 'E';
  return std::strtold(s.c_str(), nullptr);
}

long ColumnInteger(const std::string& line, size_t pos, size_t n) {
  return std::strtol(ColumnText(line, pos, n).c_str(), nullptr, 10);
}

bool HasLabel(const std::string& line, const char* label) {
  return line.find(label) != std::string::npos;
}

void CopyText(char* out, size_t size, const std::string& text) {
  if (size == 0) return;
  const size_t n = text.size() < size - 1 ? text.size() : size - 1;
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
}
