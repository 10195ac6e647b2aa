// Conversions between the epoch forms (MJD, calendar, GPS week and seconds),
// the splitting of seconds of day, the leap-year rule and the GPS-UTC leap
// seconds. All epochs are in the time scale of the data (GPS time).
#ifndef TERVAN_GNSS_TIMECONVERSE_H
#define TERVAN_GNSS_TIMECONVERSE_H

#include <iosfwd>

#include "gnss/Calendar.h"
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

// GPS-UTC difference [s] valid on the day of the epoch.
int LeapSecond(const mjd& t);

#endif
