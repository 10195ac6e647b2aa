// Reader of RINEX observation files, versions 2.10/2.11, 3.02-3.05 and 4.0x, on any
// line source (plain or unpacked text). The header is read by the constructor; the
// observation epochs are then read one at a time, so a file of any length streams.
#ifndef TERVAN_TOOLS_SDIFF_RINEXREADER_H
#define TERVAN_TOOLS_SDIFF_RINEXREADER_H

#include <memory>
#include <string>
#include <vector>

#include "gnss/mjd.h"
#include "sdiff/LineSource.h"
#include "sdiff/RinexHeader.h"

// Observations of one satellite at one epoch.
struct SatObs {
  short sat = 0;  // program numbering: GPS PRN, GLONASS 100 + slot, Galileo 200 + PRN
  // One value per type of the system's list (RinexHeader::TypesOf), scale factors
  // applied: codes [m], phases [cycles]; 0 when missing.
  std::vector<long double> values;
};

// One observation epoch.
struct RinexEpoch {
  mjd time;  // epoch tag of the receiver, GPS time (GLONASS time converted)
  int flag = 0;
  bool hasClock = false;
  long double clock = 0.0L;  // receiver clock offset of the epoch line [s]
  std::vector<SatObs> sats;  // GPS, GLONASS and Galileo satellites only
};

class RinexReader {
 public:
  // Reads the header; ends the run when the text is not a RINEX observation file.
  explicit RinexReader(std::unique_ptr<LineSource> in);

  const RinexHeader& Header() const { return header_; }
  const std::string& Name() const { return in_->Name(); }

  // The next observation epoch (flags 0 and 1); false at the end of the file. Event
  // records are applied (header changes) or skipped, epochs that do not follow the
  // previous one in time are skipped and counted.
  bool NextEpoch(RinexEpoch& epoch);

  long SkippedOutOfOrder() const { return skippedOrder_; }
  long SkippedTruncated() const { return skippedTruncated_; }
  // Records of a satellite already listed in the same epoch (only the first is kept).
  long SkippedRepeated() const { return skippedRepeated_; }

 private:
  [[noreturn]] void Fail(const std::string& what) const;
  std::string NextRecordLine();
  void NextRecordLine(std::string& line);
  void ReadHeader();
  void ParseHeaderLine(const std::string& line);
  void ParseTypes(const std::string& line);
  void ParseScaleFactor(const std::string& line);
  void ParseGlonassSlots(const std::string& line);
  // Reads one record; false at the end of the file. Observation records fill epoch.
  bool ReadRecord(RinexEpoch& epoch, bool& isObservation);
  mjd ParseTime(const std::string& line) const;
  void ReadSatellites2(const std::string& first, long count, std::vector<std::string>& ids);
  short SatNumber(const std::string& id) const;
  // Whether sat is among the first count satellites of the epoch.
  bool Repeated(const RinexEpoch& epoch, size_t count, short sat, const std::string& id);
  void ReadValues(SatObs& so, char sys, const std::string& text, size_t first, bool rinex2);
  void SkipRecords(const std::string& epochLine, long count, bool observation);

  std::unique_ptr<LineSource> in_;
  std::string line_, text_, part_;  // lines of the epoch being read
  std::string peek_;                // the line after it
  std::vector<std::string> ids_;    // its satellites (RINEX 2)
  RinexHeader header_;
  char typesSys_ = 0;   // system of the type list being read
  long typesLeft_ = 0;  // types still to come on continuation lines
  char scaleSys_ = 0;   // system of the scale factor record being continued
  long double scaleFactor_ = 1;
  bool glonassTime_ = false;  // epochs of the file count in GLONASS time
  bool haveLast_ = false;
  mjd last_;
  long skippedOrder_ = 0;
  long skippedTruncated_ = 0;
  long skippedRepeated_ = 0;
};

#endif
