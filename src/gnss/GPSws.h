// An epoch as GPS week (counted from 1980-01-06, not wrapped at 1024) and
// seconds of that week.
#ifndef TERVAN_GNSS_GPSWS_H
#define TERVAN_GNSS_GPSWS_H

#include <cstdint>
#include <iosfwd>

// Print settings of GPSws output (global, set by the report stages).
namespace gpswsns {
enum { GPSWS = 0, GPSWDS = 1, GPSWDHMS = 2, GPSWD = 3, SP3 = 4 };
inline short PrintFormat = GPSWS;
inline short NDecSecond = 1;  // decimals of seconds
}  // namespace gpswsns

class GPSws {
 public:
  // Week 0, second 0; not tested.
  GPSws() : week(0), second(0.0L) {}
  // GPS week and seconds of week [s, 0 <= second < 604800]; both are tested.
  GPSws(long w, long double sec);
  GPSws(const GPSws& t);
  GPSws& operator=(const GPSws& t);

  void Set(long w, long double sec);
  void SetWeek(long w);
  void SetSecond(long double sec);
  unsigned short GetWeek() const { return week; }
  long double GetSecond() const { return second; }  // seconds of week [s]
  // Day of the week, 0 = Sunday.
  int GetWeekDay() const;
  // Seconds of the day [s].
  long double GetDaySecond() const;
  // Hours, minutes and seconds of the seconds of day.
  void Sec2HMS(unsigned short& h, unsigned short& m, long double& s) const;

  // Adds whole weeks.
  GPSws& operator+=(unsigned short weeks);

  void TestWeek() const;
  void TestSecond() const;

 private:
  std::uint16_t week;  // GPS week
  long double second;  // seconds of week [s]
};

// Reads week and seconds of week, then tests them. A failed read leaves the
// epoch unchanged and the stream failed.
std::istream& operator>>(std::istream& is, GPSws& t);
// Writes the epoch in the form chosen by gpswsns::PrintFormat.
std::ostream& operator<<(std::ostream& os, const GPSws& t);

#endif
