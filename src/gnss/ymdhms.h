// A calendar epoch: year, month, day, hour, minute and seconds of the minute,
// used for reading and printing the epochs of files.
#ifndef TERVAN_GNSS_YMDHMS_H
#define TERVAN_GNSS_YMDHMS_H

#include <cstdint>
#include <iosfwd>

// Print settings of ymdhms output (global, set by the report stages).
namespace ymdhmsns {
enum { RINEXHEADER = 0, RINEXDATA = 1, NORINEX = 2, SP3 = 3, SINEX = 4 };
enum { YMDHMS = 0, YDHMS = 1, YDSEC = 2, YMD = 3, YDEC = 4, YD = 5 };
inline short PrintType = NORINEX;
inline short PrintFormat = YMDHMS;  // layout of NORINEX output
inline short NDecSecond = 1;        // decimals of seconds
}  // namespace ymdhmsns

class ymdhms {
 public:
  // 1980-01-01 00:00:00; not tested.
  ymdhms() : year(1980), month(1), day(1), hour(0), minute(0), second(0.0L) {}
  ymdhms(long y, long mo, long d, long h, long mi, long double s);
  ymdhms(const ymdhms& t);
  ymdhms& operator=(const ymdhms& t);

  // Sets and tests the whole epoch (year, month, day, hour, minute, second).
  void Set(long y, long mo, long d, long h, long mi, long double s);
  // Each setter tests only its own field.
  void SetYear(long y);
  void SetMonth(long mo);
  void SetDay(long d);
  void SetHour(long h);
  void SetMinute(long mi);
  void SetSecond(long double s);
  void SetHMS(long h, long mi, long double s);
  // Year and day of year (1-366); the time is cleared.
  void SetDayOfYear(long y, long doy);
  // Decimal year, e.g. 2020.5.
  void SetYDec(double y);
  // Hour, minute and seconds from seconds of day [s].
  void SetDaySecond(long double s);

  unsigned short GetYear() const { return year; }
  unsigned short GetMonth() const { return month; }
  unsigned short GetDay() const { return day; }
  unsigned short GetHour() const { return hour; }
  unsigned short GetMinute() const { return minute; }
  long double GetSecond() const { return second; }
  long double GetDaySecond() const { return hour * 3600.0L + minute * 60.0L + second; }
  int GetDayOfYear() const;
  long double GetYearDec() const;

  bool LeapYear(long y) const;
  void Sec2HMS(long double s, unsigned short& h, unsigned short& m, long double& sec) const;

  void Test() const;
  void TestYear() const;
  void TestMonth() const;
  void TestDay() const;
  void TestHour() const;
  void TestMinute() const;
  void TestSecond() const;

 private:
  std::uint16_t year;    // four-digit year
  std::uint16_t month;   // 1-12
  std::uint16_t day;     // day of month
  std::uint16_t hour;    // hour (24 after rounding is kept)
  std::uint16_t minute;  // minute
  long double second;    // seconds of the minute [s]
};

// Reads year, month, day, hour, minute and seconds; two-digit years above 79 are
// 19xx, the others 20xx. A failed read leaves the epoch unchanged and the stream
// failed; values read are tested.
std::istream& operator>>(std::istream& is, ymdhms& t);
// Writes the epoch as chosen by ymdhmsns::PrintType and ymdhmsns::PrintFormat.
std::ostream& operator<<(std::ostream& os, const ymdhms& t);

#endif
