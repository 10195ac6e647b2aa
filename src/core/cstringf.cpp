#include "core/cstringf.h"

#include <cctype>
#include <cstring>

void substr(const char* s, int pos, int n, char* out) {
  int k = 0;
  if (pos >= 0 && n > 0) {
    // Walk to pos without passing the terminator.
    int i = 0;
    while (i < pos && s[i] != '\0') ++i;
    if (i == pos)
      for (; k < n && s[pos + k] != '\0'; ++k) out[k] = s[pos + k];
  }
  out[k] = '\0';
}

void substr(const char* s, int pos, char* out) {
  const size_t len = std::strlen(s);
  if (pos < 0 || static_cast<size_t>(pos) > len) {
    out[0] = '\0';
    return;
  }
  std::memmove(out, s + pos, len - pos + 1);
}

void trimr(char* s) {
  size_t len = std::strlen(s);
  while (len > 0 && s[len - 1] == ' ') --len;
  s[len] = '\0';
}

void triml(char* s) {
  size_t lead = 0;
  while (s[lead] == ' ') ++lead;
  if (lead > 0) std::memmove(s, s + lead, std::strlen(s + lead) + 1);
}

void trim(char* s) {
  trimr(s);
  triml(s);
}

int indexLast(const char* s, char c) {
  for (int i = static_cast<int>(std::strlen(s)); i >= 0; --i)
    if (s[i] == c) return i;
  return -1;
}

void strng(char* s, char c, long n) {
  long i = 0;
  for (; i < n; ++i) s[i] = c;
  s[i] = '\0';
}

void strcopy(char* s, char c, int n) {
  strng(s, c, n);
}

namespace {

bool IsSpace(char c) {
  return std::isspace(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

int cwords(const char* s) {
  int count = 0;
  for (size_t i = 0; s[i] != '\0'; ++i)
    if (!IsSpace(s[i]) && (i == 0 || IsSpace(s[i - 1]))) ++count;
  return count;
}

int gword(const char* s, long iw, char* w) {
  w[0] = '\0';
  long count = 0;
  for (size_t i = 0; s[i] != '\0'; ++i) {
    if (IsSpace(s[i]) || (i > 0 && !IsSpace(s[i - 1]))) continue;
    if (++count < iw) continue;
    size_t k = 0;
    while (s[i + k] != '\0' && !IsSpace(s[i + k])) {
      w[k] = s[i + k];
      ++k;
    }
    w[k] = '\0';
    return 1;
  }
  return 0;
}

void creplace(char* s, char from, char to) {
  for (; *s != '\0'; ++s)
    if (*s == from) *s = to;
}

void creplace(char* s, char from, char to, long n) {
  for (long i = 0; i < n && s[i] != '\0'; ++i)
    if (s[i] == from) s[i] = to;
}

void sreplace(char* s, const char* from, const char* to) {
  const size_t n = std::strlen(from);
  if (n == 0 || n != std::strlen(to)) return;
  for (char* p = std::strstr(s, from); p != nullptr; p = std::strstr(p + n, from))
    std::memcpy(p, to, n);
}
