// Pieces shared by the readers of orbit and clock files: the satellite number of
// a system letter and a number, and the epoch of a calendar text.
#ifndef TERVAN_ORBITS_ORBITTEXT_H
#define TERVAN_ORBITS_ORBITTEXT_H

#include <string>

#include "gnss/mjd.h"

namespace orbittext {

// Program satellite number: GPS (letter "G" or blank) the number itself, GLONASS
// 100 +, Galileo 200 +, BeiDou 300 +, QZSS 500 +; other systems (SBAS, IRNSS,
// LEO) 600 + so that they never take the place of a GPS satellite.
short SatNumber(char system, int number);

// Number of an identifier of a letter and two digits (tens digit possibly blank)
// at position pos of line; -1 when the digits are not digits.
short SatNumber(const std::string& line, size_t pos);
// The same in a line of length len.
short SatNumber(const char* line, size_t len, size_t pos);

// Epoch (GPS time) of a text "year month day hour minute seconds" separated by
// blanks; two-digit years are 1980-2079. False when the text is not a valid epoch.
bool ParseEpoch(const std::string& text, mjd& t);

}  // namespace orbittext

#endif
