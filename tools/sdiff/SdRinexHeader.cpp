#include "sdiff/SdRinexHeader.h"

const std::vector<std::string>& SdRinexHeader::TypesOf(char sys) const {
  static const std::vector<std::string> none;
  auto it = types.find(IsRinex2() ? ' ' : sys);
  return it == types.end() ? none : it->second;
}
