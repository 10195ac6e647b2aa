// What the converter takes from the header of a RINEX observation file.
#ifndef TERVAN_TOOLS_SDIFF_RINEXHEADER_H
#define TERVAN_TOOLS_SDIFF_RINEXHEADER_H

#include <map>
#include <string>
#include <vector>

struct RinexHeader {
  double version = 0.0;  // 2.10, 2.11, 3.02 ... 4.02
  char system = ' ';     // file system letter (column 41 of the first line)
  std::string markerName, markerNumber, receiverType, antennaSerial;
  std::string antennaType;  // 20 characters: model in 0-15, radome in 16-19
  bool hasPosition = false;
  long double position[3] = {0, 0, 0};  // approximate marker position, ECEF X, Y, Z [m]
  long double deltaHEN[3] = {0, 0, 0};  // antenna height, east, north eccentricity [m]
  // RINEX 2: one list of 2-character types for every system (key ' ');
  // RINEX 3/4: one list of 3-character codes per system letter.
  std::map<char, std::vector<std::string>> types;
  // Counts the changes of the type lists by event records after the header: users of
  // indices into the lists compare it with the value they saw.
  long typesVersion = 0;
  // Divisors of SYS / SCALE FACTOR per system and code.
  std::map<char, std::map<std::string, long double>> scale;
  std::map<int, int> glonassChannels;  // GLONASS slot -> frequency channel
  double interval = 0.0;               // [s], 0 when not given
  std::string timeSystem;              // of TIME OF FIRST OBS, e.g. "GPS"

  bool IsRinex2() const { return version < 3.0; }
  // The type list that applies to a satellite system letter (empty when none).
  const std::vector<std::string>& TypesOf(char sys) const;
};

#endif
