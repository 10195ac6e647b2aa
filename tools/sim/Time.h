// Epochs of the simulator: GPS time in seconds since 1980-01-06 00:00:00, with
// calendar conversions and the GPS-UTC offset needed for GLONASS records.
#ifndef TERVAN_SIM_TIME_H
#define TERVAN_SIM_TIME_H

#include <string>

namespace sim {

// A calendar epoch (the time scale is the caller's).
struct Calendar {
  int year = 1980, month = 1, day = 6, hour = 0, minute = 0;
  long double second = 0;
};

constexpr long MjdOfGpsStart = 44244;  // MJD of 1980-01-06

long double ToSeconds(const Calendar& c);  // calendar (GPS time) -> seconds
Calendar ToCalendar(long double seconds);  // seconds -> calendar, seconds rounded to 1e-7 s
long Mjd(long double seconds);             // Modified Julian Day of the epoch
long double SecondsOfDay(long double seconds);
int GpsWeek(long double seconds);
long double SecondsOfWeek(long double seconds);
int DayOfYear(const Calendar& c);
int LeapSeconds(long double seconds);  // GPS - UTC at a GPS epoch, seconds

// Parses "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS" (also with 'T'); false when malformed.
bool ParseCalendar(const std::string& text, Calendar& c);

}  // namespace sim

#endif
