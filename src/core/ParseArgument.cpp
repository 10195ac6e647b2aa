#include "core/ParseArgument.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

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

double ParseDouble(const char* arg, std::size_t pos, bool* ok) {
  const char* value = ValueAt(arg, pos);
  char* end = nullptr;
  double d = std::strtod(value, &end);
  bool good = end != value && std::isfinite(d);
  if (ok) *ok = good;
  return good ? d : 0.0;
}

float ParseFloat(const char* arg, std::size_t pos, bool* ok) {
  return static_cast<float>(ParseDouble(arg, pos, ok));
}

namespace {

// Integer at text, limited to the range of int; end receives the first unread character.
int ReadInteger(const char* text, const char** end) {
  char* stop = nullptr;
  long n = std::strtol(text, &stop, 10);
  *end = stop;
  if (stop == text) return 0;
  if (n > INT_MAX) return INT_MAX;
  if (n < INT_MIN) return INT_MIN;
  return static_cast<int>(n);
}

}  // namespace

int ParseInteger(const char* arg, std::size_t pos, bool* ok) {
  const char* value = ValueAt(arg, pos);
  const char* end = value;
  int n = ReadInteger(value, &end);
  if (ok) *ok = end != value;
  return n;
}

long double ParseHMS(const char* arg, std::size_t pos, bool* ok) {
  const char* text = ValueAt(arg, pos);
  const char* end = text;
  long double h = ReadInteger(text, &end), m = 0.0L, s = 0.0L;
  if (ok) *ok = end != text;
  if (end == text) return 0.0L;
  if (*end == ':') {
    text = end + 1;
    m = ReadInteger(text, &end);
    if (end != text && *end == ':') {
      char* stop = nullptr;
      s = std::strtold(end + 1, &stop);
      if (stop == end + 1 || !std::isfinite(s)) s = 0.0L;
    }
  }
  return h * 3600.0L + m * 60.0L + s;
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
