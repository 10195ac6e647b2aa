#include "sdiff/ObsMapping.h"

#include <map>

namespace sdmap {

namespace {

const char* const kNames[kNumTypes] = {"C1", "P1", "P2", "L1", "L2", "C2",
                                       "C5", "L5", "C7", "L7", "C8", "L8"};
// Codes of the single-difference file: C1 0, P1 1, P2 2, L1 3, L2 4, C2 5, C5 10,
// L5 11, C7 18, L7 19, C8 22, L8 23.
const int kFileCodes[kNumTypes] = {0, 1, 2, 3, 4, 5, 10, 11, 18, 19, 22, 23};

using Table = std::map<char, std::vector<std::vector<std::string>>>;

const Table& CodeTable() {
  static const Table table = {
      {'G',
       {{"C1C"},
        {"C1W", "C1P", "C1Y"},
        {"C2W", "C2P", "C2D", "C2Y"},
        {"L1C", "L1W", "L1P"},
        {"L2W", "L2P", "L2C", "L2D", "L2L", "L2X", "L2S"},
        {"C2L", "C2X", "C2S"},
        {"C5Q", "C5X", "C5I"},
        {"L5Q", "L5X", "L5I"},
        {},
        {},
        {},
        {}}},
      {'R',
       {{"C1C"},
        {"C1P"},
        {"C2P"},
        {"L1C", "L1P"},
        {"L2P", "L2C"},
        {"C2C"},
        {},
        {},
        {},
        {},
        {},
        {}}},
      {'E',
       {{"C1C", "C1X"},
        {},
        {},
        {"L1C", "L1X"},
        {},
        {},
        {"C5Q", "C5X", "C5I"},
        {"L5Q", "L5X", "L5I"},
        {"C7Q", "C7X", "C7I"},
        {"L7Q", "L7X", "L7I"},
        {"C8Q", "C8X", "C8I"},
        {"L8Q", "L8X", "L8I"}}},
  };
  return table;
}

int IndexOf(const std::vector<std::string>& list, const std::string& t) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i] == t) return static_cast<int>(i);
  return -1;
}

bool IsRinex2List(const std::vector<std::string>& list) {
  return !list.empty() && list[0].size() == 2;
}

// Indices of the type in a list, best first.
std::vector<int> Candidates(char sys, int type, const std::vector<std::string>& list) {
  std::vector<int> out;
  if (IsRinex2List(list)) {
    int i = IndexOf(list, kNames[type]);
    if (i >= 0) out.push_back(i);
    return out;
  }
  for (const std::string& code : Codes(sys, type)) {
    int i = IndexOf(list, code);
    if (i >= 0) out.push_back(i);
  }
  return out;
}

}  // namespace

const char* Name(int type) {
  return kNames[type];
}
int FileCode(int type) {
  return kFileCodes[type];
}
bool IsPhase(int type) {
  return kNames[type][0] == 'L';
}

const std::vector<std::string>& Codes(char sys, int type) {
  static const std::vector<std::string> none;
  auto it = CodeTable().find(sys);
  return it == CodeTable().end() ? none : it->second[type];
}

std::vector<std::pair<int, int>> Pairs(char sys, int type, const std::vector<std::string>& base,
                                       const std::vector<std::string>& rover) {
  std::vector<std::pair<int, int>> out;
  if (IsRinex2List(base) || IsRinex2List(rover)) {
    for (int b : Candidates(sys, type, base))
      for (int r : Candidates(sys, type, rover)) out.push_back({b, r});
    return out;
  }
  for (const std::string& code : Codes(sys, type)) {
    int b = IndexOf(base, code), r = IndexOf(rover, code);
    if (b >= 0 && r >= 0) out.push_back({b, r});
  }
  if (!out.empty()) return out;
  // Different tracking attributes: one fixed pair for the whole file keeps the
  // differences between satellites free of the tracking biases.
  std::vector<int> b = Candidates(sys, type, base), r = Candidates(sys, type, rover);
  if (!b.empty() && !r.empty()) out.push_back({b[0], r[0]});
  return out;
}

}  // namespace sdmap
