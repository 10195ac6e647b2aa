// Reader of Tervan's binary residual file (option -fp): a satellite list, then per
// epoch the residual records of the static solution. Read epoch by epoch, so that a
// long file is never held whole; a truncated or malformed file is an error.
#ifndef TERVAN_TOOLS_RES2TXT_RESIDUALFILE_H
#define TERVAN_TOOLS_RES2TXT_RESIDUALFILE_H

#include <cstdint>
#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

// One residual: satellite (GPS 1-99, GLONASS 101-199, Galileo 201-299), observation
// type (0 C1, 1 P1, 2 P2, 3 Pc3, 4 Pp3, 5 L3, 6 L1, 7 L2), residual computed minus
// observed [m], mean elevation and azimuth of BASE and ROVER [degrees], outlier flag.
struct ResidualRecord {
  int sat = 0;
  int type = 0;
  long double residual = 0;   // [m]
  long double elevation = 0;  // [deg]
  long double azimuth = 0;    // [deg]
  bool outlier = false;
};

// Epoch as MJD day and seconds of that day (GPS time) with its records.
struct ResidualEpoch {
  long mjdDay = 0;
  long double second = 0;  // [s]
  std::vector<ResidualRecord> records;
};

class ResidualFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ResidualFile {
 public:
  // Reads the satellite list from the start of the stream.
  explicit ResidualFile(std::istream& in);

  const std::vector<int>& Satellites() const { return sats_; }

  // The next epoch; false at the clean end of the file.
  bool NextEpoch(ResidualEpoch& epoch);

  // An 80-bit extended number stored in 12 bytes (10 bytes, 2 of filler), decoded
  // without relying on the host's long double layout.
  static long double DecodeExt12(const unsigned char bytes[12]);

 private:
  void Read(void* to, std::size_t n, const char* what);
  long double ReadExt12(const char* what);
  ResidualRecord ReadRecord();

  std::istream& in_;
  std::vector<int> sats_;
  long epochCount_ = 0;
};

// Text for the observation type code ("C1" ... "L2").
const char* ResidualTypeName(int type);

// System letter of a satellite number ("G", "R", "E").
char ResidualSystem(int sat);

#endif
