#include "sdiff/FixedText.h"

#include <cstdint>
#include <cstdio>

#include "core/FixedDecimal.h"

namespace {

// Decimal digits of n written backwards from end; returns the first character.
char* Backwards(char* end, uint64_t n) {
  do {
    *--end = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n != 0);
  return end;
}

}  // namespace

size_t FixedText::Pad(std::string& out, const char* text, size_t n, int width) {
  const size_t w = static_cast<size_t>(width);
  if (n < w) out.append(w - n, ' ');
  out.append(text, n);
  return n < w ? w : n;
}

size_t FixedText::Append(std::string& out, long double v, int width, int decimals) {
  char buf[fixeddecimal::kMaxText];
  const size_t n = fixeddecimal::Format(v, decimals, buf);
  if (n > 0) return Pad(out, buf, n, width);
  // Values that printf alone writes: infinities, NaN and numbers of many digits.
  const int need = std::snprintf(nullptr, 0, "%*.*Lf", width, decimals, v);
  if (need <= 0) return 0;
  std::string text(static_cast<size_t>(need) + 1, '\0');
  std::snprintf(&text[0], text.size(), "%*.*Lf", width, decimals, v);
  text.pop_back();
  out += text;
  return static_cast<size_t>(need);
}

size_t FixedText::Append(std::string& out, long n, int width) {
  char tmp[24];
  char* const end = tmp + sizeof(tmp);
  const uint64_t m = n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
  char* p = Backwards(end, m);
  if (n < 0) *--p = '-';
  return Pad(out, p, static_cast<size_t>(end - p), width);
}
