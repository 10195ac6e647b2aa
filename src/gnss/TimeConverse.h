// Conversions between the epoch forms (MJD, calendar, GPS week and seconds),
// the splitting of seconds of day, the leap-year rule and the GPS-UTC leap
// seconds. All epochs are in the time scale of the data (GPS time).
#ifndef TERVAN_GNSS_TIMECONVERSE_H
#define TERVAN_GNSS_TIMECONVERSE_H

#include <iosfwd>

#include "gnss/GPSws.h"
#include "gnss/mjd.h"
#include "gnss/ymdhms.h"

// Calendar epoch to MJD. Seconds of day within 1e-10 s of a full day (23:59:60)
// start the next day; hours past midnight carry into the following days.
mjd ymdhms2mjd(const ymdhms& t);
void ymdhms2mjd(const ymdhms& t, mjd& out);
// MJD to calendar epoch. Seconds that round to a full day give 24:00:00 of the
// same date.
ymdhms mjd2ymdhms(const mjd& t);
void mjd2ymdhms(const mjd& t, ymdhms& out);
// MJD to GPS week and seconds of week; epochs before the start of GPS time
// (1980-01-06) end the program with "WEEK not valid".
GPSws mjd2GPSws(const mjd& t);
void mjd2GPSws(const mjd& t, GPSws& out);
mjd GPSws2mjd(const GPSws& t);
void GPSws2mjd(const GPSws& t, mjd& out);
GPSws ymdhms2GPSws(const ymdhms& t);
void ymdhms2GPSws(const ymdhms& t, GPSws& out);
ymdhms GPSws2ymdhms(const GPSws& t);
void GPSws2ymdhms(const GPSws& t, ymdhms& out);

// Splits seconds of day [s] into hour, minute and seconds. Seconds within 1e-10
// of 60 carry into the minute and a full hour carries into the hour, which can
// therefore become 24. Values no hour field can hold give hour 65535.
void Sec2HMS(long double seconds, unsigned short& h, unsigned short& m, long double& s);

// Gregorian leap-year rule (years above 0).
bool LeapYear(long year);

// Days of the year before the given month (1-12; 13 gives the length of the year).
int DaysBeforeMonth(int month, bool leap);

// GPS-UTC difference [s] valid on the day of the epoch.
int LeapSecond(const mjd& t);

// Writes "hh:mm:" zero-filled and the seconds in the given width and decimals,
// zero-filled; the stream's fill character is left as "0".
void WriteHMS(std::ostream& os, unsigned short h, unsigned short m, long double s, int width,
              int ndec);

#endif
