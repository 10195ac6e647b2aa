// Satellite numbering shared by every reader and stage.
//
// A satellite number is a signed 16-bit integer whose hundreds give the system:
// GPS satellites are their PRN (1-99), GLONASS satellites 100 + slot, Galileo
// 200 + PRN and BeiDou 300 + PRN. Files may hold numbers up to 699.
#ifndef TERVAN_GNSS_SATELLITENUMBERING_H
#define TERVAN_GNSS_SATELLITENUMBERING_H

namespace satnum {

constexpr short kMaxSatNumber = 699;  // largest number a data file may hold

inline bool IsGPS(short sat) {
  return sat > 0 && sat < 100;
}
inline bool IsGLONASS(short sat) {
  return sat > 100 && sat < 200;
}
inline bool IsGALILEO(short sat) {
  return sat > 200 && sat < 300;
}
inline bool IsBEIDOU(short sat) {
  return sat > 300 && sat < 400;
}

// GLONASS slot of a GLONASS number (101 -> 1).
inline short GlonassSlot(short sat) {
  return static_cast<short>(sat - 100);
}

// Letter of the system in reports: "G", "R", "E", "C"; blank for other numbers.
inline char SystemLetter(short sat) {
  if (IsGPS(sat)) return 'G';
  if (IsGLONASS(sat)) return 'R';
  if (IsGALILEO(sat)) return 'E';
  if (IsBEIDOU(sat)) return 'C';
  return ' ';
}

// Number within the system (PRN or slot): 105 -> 5.
inline short NumberInSystem(short sat) {
  return static_cast<short>(sat % 100);
}

}  // namespace satnum

#endif
