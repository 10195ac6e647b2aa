#include "core/FiniteNumPut.h"

#include <algorithm>
#include <cmath>
#include <ostream>

#include "core/FixedDecimal.h"
#include "core/ProgramError.h"

namespace {

std::string input;
std::string epoch;

}  // namespace

FiniteNumPut::FiniteNumPut(const std::string& output, bool plainPoint)
    : std::num_put<char>(0), output_(output), plainPoint_(plainPoint) {}

void FiniteNumPut::Guard(std::ostream& os, const std::string& output) {
  const std::numpunct<char>& punct = std::use_facet<std::numpunct<char>>(os.getloc());
  const bool plain = punct.decimal_point() == '.' && punct.grouping().empty();
  os.imbue(std::locale(os.getloc(), new FiniteNumPut(output, plain)));
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
  char text[fixeddecimal::kMaxText];
  const size_t len = FixedText(str, v, text);
  if (len == 0) return std::num_put<char>::do_put(out, str, fill, v);
  return Padded(out, str, fill, text, len);
}

size_t FiniteNumPut::FixedText(const std::ios_base& str, long double v, char* text) const {
  if (!plainPoint_) return 0;
  const std::ios_base::fmtflags f = str.flags();
  if ((f & std::ios_base::floatfield) != std::ios_base::fixed ||
      (f & (std::ios_base::showpos | std::ios_base::showpoint)) != 0 ||
      str.precision() > fixeddecimal::kMaxPrecision)
    return 0;
  return fixeddecimal::Format(v, static_cast<int>(str.precision()), text);
}

// The text filled to the field width as the standard facet pads it: fill after the
// text when adjusted left, between the sign and the digits when adjusted
// internally, else before the text; the width is used up.
FiniteNumPut::iter_type FiniteNumPut::Padded(iter_type out, std::ios_base& str, char fill,
                                             const char* text, size_t len) {
  const std::streamsize w = str.width();
  str.width(0);
  const size_t pad = w > static_cast<std::streamsize>(len) ? static_cast<size_t>(w) - len : 0;
  const std::ios_base::fmtflags adjust = str.flags() & std::ios_base::adjustfield;
  size_t lead = 0;  // characters of the text before the fill
  if (adjust == std::ios_base::left)
    lead = len;
  else if (adjust == std::ios_base::internal && (text[0] == '-' || text[0] == '+'))
    lead = 1;
  out = std::copy(text, text + lead, out);
  for (size_t i = 0; i < pad; ++i) *out++ = fill;
  return std::copy(text + lead, text + len, out);
}
