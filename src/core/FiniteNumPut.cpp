#include "core/FiniteNumPut.h"

#include <cmath>
#include <ostream>

#include "core/ProgramError.h"

namespace {

std::string input;
std::string epoch;

}  // namespace

FiniteNumPut::FiniteNumPut(const std::string& output) : std::num_put<char>(0), output_(output) {}

void FiniteNumPut::Guard(std::ostream& os, const std::string& output) {
  os.imbue(std::locale(os.getloc(), new FiniteNumPut(output)));
}

void FiniteNumPut::SetInput(const std::string& text) {
  input = text;
}

void FiniteNumPut::SetEpoch(const std::string& text) {
  epoch = text;
}

std::string FiniteNumPut::ErrorText(const std::string& output) {
  std::string s = "A NUMBER THAT IS NOT FINITE (NAN OR INFINITY) WAS TO BE WRITTEN TO " + output;
  if (!input.empty()) s += " - INPUT " + input;
  if (!epoch.empty()) s += ", EPOCH " + epoch;
  return s + "!";
}

void FiniteNumPut::Check(long double v) const {
  if (!std::isfinite(v)) ProgramError("Tervan", ErrorText(output_));
}

FiniteNumPut::iter_type FiniteNumPut::do_put(iter_type out, std::ios_base& str, char fill,
                                             double v) const {
  Check(v);
  return std::num_put<char>::do_put(out, str, fill, v);
}

FiniteNumPut::iter_type FiniteNumPut::do_put(iter_type out, std::ios_base& str, char fill,
                                             long double v) const {
  Check(v);
  return std::num_put<char>::do_put(out, str, fill, v);
}
