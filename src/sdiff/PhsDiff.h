// Reader of a single-difference observation file: counts the records, sizes the
// data and parses header and data.
#ifndef TERVAN_SDIFF_PHSDIFF_H
#define TERVAN_SDIFF_PHSDIFF_H

#include "sdiff/PhsDiffData.h"
#include "sdiff/PhsDiffHeader.h"

class PhsDiff {
 public:
  PhsDiff(PhsDiffHeader& head, PhsDiffData& data) : rhead(head), rdata(data) { sdfile[0] = '\0'; }

  // Stores the name; the run ends when the file cannot be opened for reading.
  void SetFile(const char* name);
  // Counts the records, sizes the data and reads header and data.
  void ReadFile();
  // Counts epochs and records (first pass); sets the header's HasObservations.
  void CountRec();
  // Copies C2 into P2 when the file has C2 but no P2.
  void copyC2toP2() { rdata.CopyC2toP2(); }

  const char* GetFile() const { return sdfile; }
  long GetNEpoch() const { return nepoch; }
  long GetNObsAll() const { return nobsall; }

 private:
  char sdfile[512];  // as long as a file name the command line accepts
  PhsDiffHeader& rhead;
  PhsDiffData& rdata;
  long nepoch = 0;
  long nobsall = 0;
};

#endif
