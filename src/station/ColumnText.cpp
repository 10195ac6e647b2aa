#include "station/ColumnText.h"

#include "core/TextNumbers.h"

namespace columntext {

bool Contains(const std::string& line, const char* label) {
  return line.find(label) != std::string::npos;
}

std::string Cut(const std::string& line, size_t col, size_t n) {
  return col < line.size() ? line.substr(col, n) : std::string();
}

std::string Trimmed(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

bool NumberFrom(const std::string& line, size_t col, long double& v) {
  if (col >= line.size()) return false;
  return ParseDecimal(line.c_str() + col, line.c_str() + line.size(), v);
}

}  // namespace columntext
