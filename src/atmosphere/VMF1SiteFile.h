// Site-wise VMF1 file shared by the VMF1 zenith delays and the VMF1 mapping function: rows
// of (point, label, count, count x (MJD day, seconds of day, value)), interpolated linearly
// in time.
#ifndef TERVAN_ATMOSPHERE_VMF1SITEFILE_H
#define TERVAN_ATMOSPHERE_VMF1SITEFILE_H

#include <string>

#include "core/matrix.h"

class VMF1SiteFile {
 public:
  // One user of the file: its class name for messages and the two labels it looks for.
  struct Usage {
    const char* cls;
    const char* labelH;  // lower case; the upper-case twin is accepted too
    const char* labelW;
  };

  explicit VMF1SiteFile(const Usage& use);

  void SetFile(const char* name);
  void ReadFile();
  // Selects the rows of the point (exact name) for the two labels; a missing row stays -1.
  void SetPoint(const char* name);
  // True when both rows of the selected point are in the file (otherwise a missing quantity
  // would be 0 and its user falls back to a model without the file).
  bool Serves() const { return ixH >= 0 && ixW >= 0; }
  // Value of a row at the epoch x (decimal MJD): end values outside the row's epochs, 0 for
  // row -1.
  long double Interpolate(long double x, long row) const;

  const char* GetFile() const { return file; }
  long GetNPoints() const { return npts; }
  long GetIxH() const { return ixH; }
  long GetIxW() const { return ixW; }

 protected:
  char file[1024];
  long npts;                  // number of data rows
  long nrec;                  // largest number of values in a row
  matrix<std::string> pt;     // point name per row
  matrix<std::string> label;  // label per row
  matrix<long> ndata;         // number of values per row
  matrix<long double> ephs;   // epochs per row [decimal MJD]
  matrix<long double> data;   // values per row
  long ixH, ixW;              // selected hydrostatic and wet rows, -1 = none

 private:
  Usage use;

  long CountRows();
  [[noreturn]] void Corrupt(const std::string& what, long line) const;
};

#endif
