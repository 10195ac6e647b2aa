// Calendar arithmetic shared by the epoch classes and their conversions: the
// leap-year rule, month lengths, and the split and print of seconds of day.
#ifndef TERVAN_GNSS_CALENDAR_H
#define TERVAN_GNSS_CALENDAR_H

#include <iosfwd>

// Splits seconds of day [s] into hour, minute and seconds. Seconds within 1e-10
// of 60 carry into the minute and a full hour carries into the hour, which can
// therefore become 24. Values no hour field can hold give hour 65535.
void Sec2HMS(long double seconds, unsigned short& h, unsigned short& m, long double& s);

// Gregorian leap-year rule (years above 0).
bool LeapYear(long year);

// Days of the year before the given month (1-12; 13 gives the length of the year).
int DaysBeforeMonth(int month, bool leap);

// Writes "hh:mm:" zero-filled and the seconds in the given width and decimals,
// zero-filled; the stream's fill character is left as "0".
void WriteHMS(std::ostream& os, unsigned short h, unsigned short m, long double s, int width,
              int ndec);

#endif
