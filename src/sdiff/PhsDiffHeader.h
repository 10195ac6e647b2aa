// Header of a single-difference observation file: station metadata of the BASE
// (index 0) and the ROVER (index 1) and the list of observation types.
#ifndef TERVAN_SDIFF_PHSDIFFHEADER_H
#define TERVAN_SDIFF_PHSDIFFHEADER_H

#include <iosfwd>

#include "core/matrix.h"
#include "gnss/neu.h"
#include "gnss/xyz.h"

class LineReader;

// Observation type codes, in the order of the "# & TYPES OF OBS" tokens.
namespace sdobs {
enum Type {
  C1 = 0,
  P1,
  P2,
  L1,
  L2,
  C2,
  S1,
  S2,
  D1,
  D2,
  C5,
  L5,
  D5,
  S5,
  C6,
  L6,
  D6,
  S6,
  C7,
  L7,
  D7,
  S7,
  C8,
  L8,
  D8,
  S8,
  NTYPES  // number of known types
};
// The 3-character token of a type (" C1"); code -1 for an unknown token.
const char* Token(int code);
int CodeOf(const char* token3);
}  // namespace sdobs

class PhsDiffHeader {
 public:
  PhsDiffHeader();

  // Reads the header from its first line to "END OF HEADER" (fatal errors on a
  // file that is not a difference file or has no end of header).
  void Read(LineReader& lr);

  short GetNObs() const { return nobs; }
  short GetObsType(long k) const { return obs(k); }  // type code of column k (-1 unknown)
  float GetInterval() const { return interval; }
  void SetInterval(float s) { interval = s; }
  short GetDiffLevel() const { return diffLevel; }
  bool GetHasObservations() const { return HasObservations; }
  void SetHasObservations(bool b) { HasObservations = b; }
  bool GetIsValid() const { return IsValid; }
  const char* GetMarkerName(int i) const { return mname[i]; }
  const char* GetMarkerNumber(int i) const { return mnumber[i]; }
  const char* GetReceiverType(int i) const { return rectype[i]; }
  const char* GetAntennaType(int i) const { return anttype[i]; }
  const char* GetAntennaSerial(int i) const { return antserial[i]; }
  xyz GetX0(int i) const { return X0(i); }
  neu GetDp(int i) const { return Dp(i); }

  // Presence of an observation type, by code.
  bool HasType(int code) const;
  void SetType(int code, bool present);
  bool HasC1() const { return iC1; }
  bool HasP1() const { return iP1; }
  bool HasP2() const { return iP2; }
  bool HasL1() const { return iL1; }
  bool HasL2() const { return iL2; }
  bool HasC2() const { return iC2; }
  bool HasS1() const { return iS1; }
  bool HasS2() const { return iS2; }
  bool HasD1() const { return iD1; }
  bool HasD2() const { return iD2; }
  bool HasC5() const { return iC5; }
  bool HasL5() const { return iL5; }
  bool HasC6() const { return iC6; }
  bool HasL6() const { return iL6; }
  bool HasC7() const { return iC7; }
  bool HasL7() const { return iL7; }
  bool HasC8() const { return iC8; }
  bool HasL8() const { return iL8; }

  // Linear combinations formed by the data operations.
  bool HasPC1() const { return iPC1; }
  bool HasPC3() const { return iPC3; }
  bool HasPP3() const { return iPP3; }
  bool HasL3() const { return iL3; }
  bool HasL4() const { return iL4; }
  bool HasMW() const { return iMW; }
  bool HasPC4() const { return iPC4; }
  bool HasPP4() const { return iPP4; }
  bool HasLC5() const { return iLC5; }
  bool HasCL1() const { return iCL1; }

  // Station metadata, used by writers (text cut to 60 / 20 characters).
  void SetMarkerName(int i, const char* s);
  void SetMarkerNumber(int i, const char* s);
  void SetReceiverType(int i, const char* s);
  void SetAntennaType(int i, const char* s);
  void SetAntennaSerial(int i, const char* s);
  void SetX0(int i, const xyz& p) { X0(i) = p; }
  void SetDp(int i, const neu& d) { Dp(i) = d; }
  void SetDiffLevel(short level) { diffLevel = level; }
  // The observation columns of the file, in order (presence flags follow).
  void SetObsTypes(const matrix<short>& codes);

  friend class PhsDiffData;

  char mname[2][61];
  char mnumber[2][21];
  char rectype[2][21];
  char anttype[2][21];
  char antserial[2][21];
  bool HasObservations = false;
  bool IsValid = false;
  matrix<xyz> X0;  // a-priori ECEF coordinates of BASE and ROVER [m]
  matrix<neu> Dp;  // antenna eccentricities north/east/up of BASE and ROVER [m]
  short nobs = 0;
  matrix<short> obs;    // type code of each column
  short diffLevel = 1;  // 1 single, 2 double, 3 triple differences
  float interval = 0;   // smallest spacing of consecutive epochs [s]
  bool iC1 = false, iP1 = false, iP2 = false, iL1 = false, iL2 = false, iC2 = false;
  bool iS1 = false, iS2 = false, iD1 = false, iD2 = false, iC5 = false, iL5 = false;
  bool iD5 = false, iS5 = false, iC6 = false, iL6 = false, iD6 = false, iS6 = false;
  bool iC7 = false, iL7 = false, iD7 = false, iS7 = false, iC8 = false, iL8 = false;
  bool iD8 = false, iS8 = false;
  bool iPC1 = false, iPC3 = false, iPP3 = false, iL3 = false, iL4 = false, iMW = false;
  bool iPC4 = false, iPP4 = false, iLC5 = false, iCL1 = false;

 private:
  void ParseLine(const char* line, size_t len);
  void ParseTypes(const char* line, size_t len);
  bool* TypeFlag(int code);
};

// Reads a header from a stream; the stream is left just behind "END OF HEADER".
std::istream& operator>>(std::istream& is, PhsDiffHeader& h);
// Writes the header in the file layout.
std::ostream& operator<<(std::ostream& os, const PhsDiffHeader& h);

#endif
