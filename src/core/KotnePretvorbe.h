// Angle conversions between radians, degrees and sexagesimal forms.
//
// A packed sexagesimal value DDD.MMSSsss holds degrees in the integer part,
// minutes in the first two decimals and seconds (with their fraction) after them.
#ifndef TERVAN_CORE_KOTNEPRETVORBE_H
#define TERVAN_CORE_KOTNEPRETVORBE_H

#include <string>

// pi as used throughout the program (the double-precision value).
constexpr long double kPi = 3.141592653589793L;

// Degrees to radians and back.
double deg2rad(double x);
long double deg2rad(long double x);
double rad2deg(double x);
long double rad2deg(long double x);

// Degrees, minutes and seconds to radians; a negative d makes the whole angle
// negative.
long double dms2deg(short d, short m, double s);
// Packed sexagesimal value DDD.MMSSsss to radians. Seconds within 1e-9 of 100
// (46.3 held as 46.2999...) are the next full minute.
long double dms2rad(long double x);
// Radians to a packed sexagesimal value DDD.MMSSsss; seconds within 1e-13 of 60
// carry into the minutes and 60 minutes into the degrees.
long double rad2dms(long double x);
// Text of a packed value: degrees in 3 characters, minutes in 3 and seconds in
// ndec + 4 with ndec decimals. Seconds that would print as 60, or as 100 (the
// packing's representation error), carry into the minutes.
std::string dms2dms(long double x, int ndec);

#endif
