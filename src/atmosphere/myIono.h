// Ionosphere delays estimated by the sibling tool Lustra: either a value and a rate per
// record (linear mode) or one value per epoch (epoch-by-epoch mode).
#ifndef TERVAN_ATMOSPHERE_MYIONO_H
#define TERVAN_ATMOSPHERE_MYIONO_H

#include <string>

#include "core/matrix.h"
#include "gnss/mjd.h"

class myIono {
 public:
  myIono();

  void SetFile(const char* name);
  void ReadFile();

  // Index of the record for the first epoch of a run.
  void SetIonoIndex(const mjd& t);
  // Index for a further epoch, searched from the index of the previous one.
  void SetIonoIndex(const mjd& t, long previous);
  long GetIonoIndex() const { return IonoIx; }
  // Vertical delay [m] at the epoch from the current record.
  void GetIonoDelay(const mjd& t, long double& delay);

  short GetType() const { return myIonoType; }  // -1 not set, 0 linear, 1 epoch by epoch
  long GetNEph() const { return neph; }
  long double GetInterval() const { return interval; }  // [s]

 private:
  char file[512];  // as long as a file name the command line accepts
  long neph;
  short myIonoType;
  long IonoIx;
  long double interval;  // smallest spacing of the records [s]
  long double DeltaT;    // hours from the record epoch to the requested epoch
  matrix<long double> VAL;
  matrix<long double> RMS;
  matrix<mjd> eph;

  long Bracket(const mjd& t, long start) const;
  bool AtEnds(const mjd& t);
  void Choose(const mjd& t, long i);
  [[noreturn]] void Corrupt(const std::string& text) const;
};

#endif
