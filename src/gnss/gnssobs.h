// One observation value as in a RINEX observation field: the value with its
// loss-of-lock indicator and signal strength. Code in metres; phase in cycles or
// metres as the stage defines. A value whose magnitude is below 1e-4 is missing.
#ifndef TERVAN_GNSS_GNSSOBS_H
#define TERVAN_GNSS_GNSSOBS_H

#include <cfloat>
#include <cstddef>
#include <cstring>
#include <iosfwd>

namespace gnssobsns {
enum { RINEX = 0, NORINEX = 1, NOLLISSI = 2 };
extern short PrintType;  // default NORINEX
extern short Width;      // default 14, used by NOLLISSI
}  // namespace gnssobsns

class gnssobs {
 public:
  gnssobs() = default;
  explicit gnssobs(long double value, unsigned short lli = 0, unsigned short ss = 0)
      : lli(lli), ss(ss) {
    Store(value);
  }

  // Sets the value and clears both flags.
  gnssobs& operator=(long double value);
  gnssobs& operator+=(long double value) {
    Store(GetObs() + value);
    return *this;
  }

  long double GetObs() const {
    long double v;
    std::memcpy(&v, obs, kValueBytes);
    return v;
  }
  void SetObs(long double value) { Store(value); }
  unsigned short GetLLI() const { return lli; }
  void SetLLI(unsigned short v) { lli = v; }
  unsigned short GetSS() const { return ss; }
  void SetSS(unsigned short v) { ss = v; }
  bool IsNull() const {
    const long double v = GetObs();
    return v < 1e-4L && v > -1e-4L;
  }

  // Parses one 16-character RINEX field: the value from the first 14 characters,
  // the loss-of-lock digit from the 15th and the strength digit from the 16th
  // (blanks give 0). A shorter text is read as far as it goes. False when the
  // value holds no number: the observation is then missing and the reader decides.
  bool operator>>(const char* field);

 private:
  // An x87 extended value keeps its 10 significant bytes (sign, exponent, 64-bit
  // mantissa) without the padding of a long double: a day of single differences at
  // 1 s holds tens of millions of observations. Other formats keep every byte.
  static constexpr std::size_t kValueBytes = LDBL_MANT_DIG == 64 ? 10 : sizeof(long double);
  void Store(long double value) { std::memcpy(obs, &value, kValueBytes); }

  unsigned char obs[kValueBytes] = {};  // value
  unsigned short lli = 0;
  unsigned short ss = 0;
};

// Scaling keeps the flags.
gnssobs operator*(long double k, const gnssobs& o);
gnssobs operator*(const gnssobs& o, long double k);
// Sum and difference carry no flags; a missing operand makes the result missing (0).
gnssobs operator+(const gnssobs& a, const gnssobs& b);
gnssobs operator-(const gnssobs& a, const gnssobs& b);

std::ostream& operator<<(std::ostream& os, const gnssobs& o);

// Shared by gnssobs and gnssobsshort: reads the number in the first 14
// characters of a RINEX field into value (0, the missing value, when blank);
// false, with value 0, when they hold something other than a number.
bool ParseRinexValue(const char* field, long double& value);

#endif
