#include "core/ParseArgument.h"

#include <cctype>
#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <limits>
#include <sstream>

#include "core/ProgramError.h"

namespace {

// The value of arg starting at pos, or "" when the argument is shorter.
const char* ValueAt(const char* arg, std::size_t pos) {
  std::size_t len = std::strlen(arg);
  return pos <= len ? arg + pos : arg + len;
}

}  // namespace

bool ContainsAny(const char* text, std::initializer_list<const char*> words) {
  for (const char* w : words)
    if (std::strstr(text, w) != nullptr) return true;
  return false;
}

void ParseFileName(const std::string& prog, const char* arg, std::size_t pos, char* name) {
  const char* value = ValueAt(arg, pos);
  if (std::strlen(value) > FileNameSize - 1) {
    std::string key(arg, static_cast<std::size_t>(value - arg));
    ProgramError(prog, "VALUE OF OPTION " + key + " IS LONGER THAN " +
                           std::to_string(FileNameSize - 1) + " CHARACTERS!");
  }
  std::strcpy(name, value);
}

void GetFileName(const std::string& prog, const char* arg, std::size_t pos, char* name, bool& flag,
                 bool verbose, const std::string& prefix, const std::string& label) {
  ParseFileName(prog, arg, pos, name);
  flag = true;
  if (verbose) std::cerr << prefix << label << name << "!" << std::endl;
}

namespace {

void Tell(bool* flag, bool value) {
  if (flag) *flag = value;
}

// Digits that overflow give an infinity; "inf" and "nan" are no numbers.
bool IsNumberText(const char* value, const char* end) {
  for (const char* p = value; p != end; ++p)
    if (std::isdigit(static_cast<unsigned char>(*p))) return true;
  return false;
}

}  // namespace

double ParseDouble(const char* arg, std::size_t pos, bool* ok, bool* fits) {
  const char* value = ValueAt(arg, pos);
  char* end = nullptr;
  double d = std::strtod(value, &end);
  const bool read = end != value && IsNumberText(value, end) && !std::isnan(d);
  const bool finite = std::isfinite(d);
  Tell(ok, read);
  Tell(fits, !read || finite);
  return read && finite ? d : 0.0;
}

float ParseFloat(const char* arg, std::size_t pos, bool* ok, bool* fits) {
  bool inRange = true;
  double d = ParseDouble(arg, pos, ok, &inRange);
  inRange = inRange && std::fabs(d) <= FLT_MAX;
  Tell(fits, inRange);
  return inRange ? static_cast<float>(d) : 0.0f;
}

namespace {

// Integer at text, limited to the range of int; end receives the first unread character,
// fits is cleared when the digits lie beyond that range.
int ReadInteger(const char* text, const char** end, bool& fits) {
  char* stop = nullptr;
  errno = 0;
  long n = std::strtol(text, &stop, 10);
  *end = stop;
  if (stop == text) return 0;
  if (errno == ERANGE || n > INT_MAX || n < INT_MIN) fits = false;
  if (n > INT_MAX) return INT_MAX;
  if (n < INT_MIN) return INT_MIN;
  return static_cast<int>(n);
}

}  // namespace

int ParseInteger(const char* arg, std::size_t pos, bool* ok, bool* fits) {
  const char* value = ValueAt(arg, pos);
  const char* end = value;
  bool inRange = true;
  int n = ReadInteger(value, &end, inRange);
  Tell(ok, end != value);
  Tell(fits, inRange);
  return n;
}

long double ParseHMS(const char* arg, std::size_t pos, bool* ok, bool* fits) {
  const char* text = ValueAt(arg, pos);
  const char* end = text;
  bool inRange = true;
  long double h = ReadInteger(text, &end, inRange), m = 0.0L, s = 0.0L;
  Tell(ok, end != text);
  Tell(fits, inRange);
  if (end == text) return 0.0L;
  if (*end == ':') {
    text = end + 1;
    m = ReadInteger(text, &end, inRange);
    if (end != text && *end == ':') {
      char* stop = nullptr;
      s = std::strtold(end + 1, &stop);
      if (stop != end + 1 && !std::isfinite(s)) inRange = false;
      if (stop == end + 1 || !std::isfinite(s)) s = 0.0L;
    }
  }
  Tell(fits, inRange);
  return h * 3600.0L + m * 60.0L + s;
}

template <typename T>
std::string RangeText() {
  std::ostringstream os;
  os << "FROM " << std::numeric_limits<T>::lowest() << " TO " << std::numeric_limits<T>::max();
  return os.str();
}

template std::string RangeText<int>();
template std::string RangeText<float>();
template std::string RangeText<double>();

std::string OptionBoundText(const std::string& what, const std::string& bound,
                            const std::string& option) {
  return what + " - " + bound + " [ " + option + " ]!";
}

void ParseEstimationType(const char* arg, std::size_t pos, bool& isStatic, bool& isKinematic) {
  const char* value = ValueAt(arg, pos);
  if (ContainsAny(value, {"STA", "sta"})) isStatic = true;
  if (ContainsAny(value, {"KIN", "kin"})) isKinematic = true;
}

void ParseObservationList(const char* arg, std::size_t pos, ObservationList& list) {
  const char* value = ValueAt(arg, pos);
  if (ContainsAny(value, {"C1", "c1"})) list.C1 = true;
  if (ContainsAny(value, {"P1", "p1"})) list.P1 = true;
  if (ContainsAny(value, {"P2", "p2"})) list.P2 = true;
  if (ContainsAny(value, {"Pc3", "pc3"})) list.Pc3 = true;
  if (ContainsAny(value, {"Pp3", "pp3"})) list.Pp3 = true;
  if (ContainsAny(value, {"L3", "l3"})) list.L3 = true;
  if (ContainsAny(value, {"L1", "l1"})) list.L1 = true;
  if (ContainsAny(value, {"L2", "l2"})) list.L2 = true;
}
