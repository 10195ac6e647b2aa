// An epoch as a Modified Julian Day number plus seconds of that day.
//
// The working time scale of the program (GPS time of the data): every epoch,
// interval and interpolation argument is an mjd. The difference of two epochs is
// in seconds, and adding a number to an epoch adds seconds.
#ifndef TERVAN_GNSS_MJD_H
#define TERVAN_GNSS_MJD_H

#include <cstdint>
#include <iosfwd>

// Print settings of mjd output (global, set by the report stages).
namespace mjdns {
enum { MJDSEC = 0, MJDDEC = 1, MJDHMS = 2, MJD = 3, SP3 = 4 };
inline short PrintFormat = MJDSEC;
inline short NDecSecond = 1;  // decimals of seconds
}  // namespace mjdns

class mjd {
 public:
  // Day 0, second 0; not tested.
  mjd() : mjday(0), second(0.0L) {}
  // Day number and seconds of day [s, 0 <= second < 86400]; both are tested.
  mjd(long long day, long double sec);
  mjd(const mjd& t);
  mjd& operator=(const mjd& t);
  // Decimal MJD [days]: day number = integer part, seconds from the fraction.
  mjd& operator=(long double decimalDay);

  void Set(long long day, long double sec);
  void SetMJDay(long long day);
  void SetSecond(long double sec);
  unsigned long GetMJDay() const { return mjday; }
  long double GetSecond() const { return second; }  // seconds of day [s]
  long double GetMJDDec() const { return mjday + second / 86400.0L; }

  // Adds seconds [s]; the day carries. The result is not tested, so a caller may
  // step across day 0 and back.
  mjd& operator+=(long double dsec);
  mjd& operator+=(double dsec) { return *this += static_cast<long double>(dsec); }
  mjd& operator+=(int dsec) { return *this += static_cast<long double>(dsec); }
  mjd& operator-=(long double dsec) { return *this += -dsec; }
  mjd& operator-=(double dsec) { return *this += -static_cast<long double>(dsec); }
  mjd& operator-=(int dsec) { return *this += -static_cast<long double>(dsec); }
  // Whole days: an argument of type long changes the day number only.
  mjd& operator+=(long days);
  mjd& operator-=(long days);

  // Hours, minutes and seconds of the seconds of day (hour 24 after rounding).
  void Sec2HMS(unsigned short& h, unsigned short& m, long double& s) const;

  void TestMJDay() const;
  void TestSecond() const;

  friend long double operator-(const mjd& a, const mjd& b);
  friend bool operator==(const mjd& a, const mjd& b);
  friend bool operator!=(const mjd& a, const mjd& b);
  friend bool operator<(const mjd& a, const mjd& b);
  friend bool operator>(const mjd& a, const mjd& b);
  friend bool operator<=(const mjd& a, const mjd& b);
  friend bool operator>=(const mjd& a, const mjd& b);
  friend std::istream& operator>>(std::istream& is, mjd& t);
  friend std::ostream& operator<<(std::ostream& os, const mjd& t);

 private:
  std::uint32_t mjday;  // Modified Julian Day number
  long double second;   // seconds of day [s]
};

// a - b in seconds [s] (inline: interpolation takes one per node).
inline long double operator-(const mjd& a, const mjd& b) {
  const long long days = static_cast<long long>(a.mjday) - static_cast<long long>(b.mjday);
  return days * 86400.0L + (a.second - b.second);
}
// Equal when on the same day and less than 1e-13 s apart.
bool operator==(const mjd& a, const mjd& b);
bool operator!=(const mjd& a, const mjd& b);
// Strict order, no tolerance.
bool operator<(const mjd& a, const mjd& b);
bool operator>(const mjd& a, const mjd& b);
// With the tolerance of ==, so that equal epochs are also <= and >=.
bool operator<=(const mjd& a, const mjd& b);
bool operator>=(const mjd& a, const mjd& b);

// Reads the day number and the seconds of day, then tests them. A failed read
// leaves the epoch unchanged and the stream failed.
std::istream& operator>>(std::istream& is, mjd& t);
// Writes the epoch in the form chosen by mjdns::PrintFormat.
std::ostream& operator<<(std::ostream& os, const mjd& t);

#endif
