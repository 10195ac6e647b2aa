// List of problem satellites: satellites whose phase and/or code observations
// are unusable during given time windows.
#ifndef TERVAN_SDIFF_SATCRX_H
#define TERVAN_SDIFF_SATCRX_H

#include "core/matrix.h"
#include "gnss/mjd.h"
#include "gnss/ymdhms.h"

// Problem types of an entry.
namespace satcrxns {
enum { PHASE = 1, CODE = 2, PHASE_AND_CODE = 3 };
}

class SatCRX {
 public:
  SatCRX();

  // Stores the name; the run ends when the file does not exist.
  void SetFile(const char* name);
  // Counts the entries, sizes the lists and reads them.
  void ReadFile();

  long GetNSat() const { return nsat; }
  short GetSat(long i) const { return sat(i); }
  mjd GetStart(long i) const { return eph(i, 0); }
  mjd GetEnd(long i) const { return eph(i, 1); }
  short GetType(long i) const { return TypAct(i, 0); }
  short GetAction(long i) const { return TypAct(i, 1); }
  const char* GetFile() const { return file; }

  char file[512];  // as long as a file name the command line accepts
  long nsat = 0;
  matrix<short> sat;     // satellite number of each entry
  matrix<mjd> eph;       // start (column 0) and end (column 1) of each window
  matrix<short> TypAct;  // problem type (column 0) and action code (column 1)
  ymdhms dm;             // work value for date conversion
  mjd lastEph;           // open end of a window: 2099-12-31 23:59:59

 private:
  void CountGNSSats();
  void ReadSatProblems();
  template <class Entry>
  void ForEachEntry(Entry entry);
  mjd EpochAt(const char* line, size_t len, const size_t* cols);
};

#endif
