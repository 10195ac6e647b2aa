// Writer of the single-difference file that Tervan reads.
//
// The epochs stream into a temporary file beside the output, after a provisional
// header; Finish writes the header (known only at the end: mean positions of the
// point positioning) over the provisional one when it has the same length, else the
// header and the epochs into a second temporary file, and renames the file to the
// output name, so a failed run never leaves a half-written output file behind.
#ifndef TERVAN_TOOLS_SDIFF_DIFFWRITER_H
#define TERVAN_TOOLS_SDIFF_DIFFWRITER_H

#include <cstdio>
#include <string>
#include <vector>

#include "gnss/mjd.h"

// Station metadata and type list of the file header (index 0 BASE, 1 ROVER).
struct DiffHeader {
  std::string markerName[2], markerNumber[2], receiverType[2], antennaType[2], antennaSerial[2];
  long double xyz[2][3] = {{0, 0, 0}, {0, 0, 0}};  // ECEF X, Y, Z [m]
  long double neu[2][3] = {{0, 0, 0}, {0, 0, 0}};  // antenna eccentricity north, east, up [m]
  std::vector<int> types;                          // single-difference types (sdmap::Type)
};

// One satellite record: ROVER minus BASE per header type, 0 when missing.
struct DiffRecord {
  short sat = 0;
  std::vector<long double> values;  // codes [m], phases [cycles]
};

class DiffWriter {
 public:
  // Opens the temporary file in the folder of the output and writes the header
  // `provisional` there.
  DiffWriter(const std::string& outPath, const DiffHeader& provisional);
  ~DiffWriter();
  DiffWriter(const DiffWriter&) = delete;
  DiffWriter& operator=(const DiffWriter&) = delete;

  // One epoch: BASE epoch tag, ROVER tag minus BASE tag [s], receiver clock offsets
  // of BASE and ROVER [s], and the satellite records.
  void WriteEpoch(const mjd& t, long double tagOffset, long double clockBase,
                  long double clockRover, const std::vector<DiffRecord>& records);
  // Writes header and body under the output name.
  void Finish(const DiffHeader& header);

  // The header text of the file.
  static std::string HeaderText(const DiffHeader& header, bool hasObservations);

  long Epochs() const { return epochs_; }
  long Records() const { return records_; }
  // Epoch of the first epoch written.
  const mjd& FirstEpoch() const { return first_; }

 private:
  // Header and epochs into the second temporary file.
  void Rewrite(const std::string& head);

  std::string outPath_, tmpPath_, rewritePath_;  // the output and its temporary files
  std::FILE* body_ = nullptr;                    // the file of tmpPath_
  size_t headerSize_ = 0;                        // length of the provisional header
  std::string text_;                             // text of the epoch being written
  long epochs_ = 0, records_ = 0;
  mjd first_;
};

#endif
