// Which RINEX observations become which single-difference types.
//
// For each system and single-difference type the RINEX 3/4 codes are tried in the
// order of the table; RINEX 2 types are taken as they are. Where the two stations
// share a code of a type, only equal codes are paired, so that a difference never
// mixes two signals. Where they share none, the first code of the table that each
// station holds is paired with the other's across tracking attributes: the codes of
// one type are one signal class (C1 never meets P1) and the phases one carrier band,
// whose tracking modes differ by a constant that the float ambiguity takes up.
#ifndef TERVAN_TOOLS_SDIFF_OBSMAPPING_H
#define TERVAN_TOOLS_SDIFF_OBSMAPPING_H

#include <string>
#include <utility>
#include <vector>

namespace sdmap {

// Single-difference types the converter writes, with their codes in the file's
// type numbering (" C1" = 0 ...), in the order of the columns.
enum Type { kC1, kP1, kP2, kL1, kL2, kC2, kC5, kL5, kC7, kL7, kC8, kL8, kNumTypes };
const char* Name(int type);  // "C1", "P1", ...
int FileCode(int type);      // type code of the single-difference file
bool IsPhase(int type);

// RINEX 3/4 codes of a type for a system letter ('G', 'R', 'E'), in priority order.
const std::vector<std::string>& Codes(char sys, int type);

// Index pairs (BASE, ROVER) into the two stations' type lists of a system that may
// form a type, best first. A list of 2-character RINEX 2 types pairs with every
// code of the other station; two RINEX 3 lists pair on equal codes, else in the one
// pair of the two stations' first codes of the type.
std::vector<std::pair<int, int>> Pairs(char sys, int type, const std::vector<std::string>& base,
                                       const std::vector<std::string>& rover);

}  // namespace sdmap

#endif
