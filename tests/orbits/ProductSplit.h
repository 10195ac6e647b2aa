// Real product files cut into consecutive parts, as a day's files follow one
// another: every part keeps the header.
#ifndef TERVAN_TESTS_ORBITS_PRODUCTSPLIT_H
#define TERVAN_TESTS_ORBITS_PRODUCTSPLIT_H

#include <sstream>
#include <string>
#include <vector>

namespace productsplit {

// SP3 text in two parts: epoch blocks [0, from) and [from, ...); with shared, the
// block before from also begins the second part. keep(i) drops blocks it rejects.
template <class Keep>
std::vector<std::string> Sp3(const std::string& text, int from, bool shared, Keep keep) {
  std::istringstream in(text);
  std::string line, header, part[2];
  int block = -1;
  while (std::getline(in, line)) {
    if (line.compare(0, 3, "EOF") == 0) break;
    if (line[0] == '*') ++block;
    if (block < 0) {
      header += line + '\n';
    } else if (keep(block)) {
      if (block < from) part[0] += line + '\n';
      if (block >= from || (shared && block == from - 1)) part[1] += line + '\n';
    }
  }
  return {header + part[0] + "EOF\n", header + part[1] + "EOF\n"};
}

inline std::vector<std::string> Sp3(const std::string& text, int from, bool shared = false) {
  return Sp3(text, from, shared, [](int) { return true; });
}

// RINEX clock text in two parts: records before the epoch text (as in columns
// 9-34 of the records) and from it on.
inline std::vector<std::string> Clock(const std::string& text, const std::string& epoch) {
  std::istringstream in(text);
  std::string line, part[2];
  bool body = false, second = false;
  while (std::getline(in, line)) {
    if (!body) {
      part[0] += line + '\n';
      part[1] += line + '\n';
      body = line.find("END OF HEADER") != std::string::npos;
      continue;
    }
    if (line.size() > 34 && line.compare(8, epoch.size(), epoch) == 0) second = true;
    part[second ? 1 : 0] += line + '\n';
  }
  return {part[0], part[1]};
}

}  // namespace productsplit

#endif
