#include "sdiff/RinexHeader.h"

const std::vector<std::string>& RinexHeader::TypesOf(char sys) const {
  static const std::vector<std::string> none;
  auto it = types.find(IsRinex2() ? ' ' : sys);
  return it == types.end() ? none : it->second;
}
