// Satellite clock corrections from a RINEX clock file (versions 2 to 3.04), held
// as an epoch x satellite table and interpolated with a four-node Lagrange
// polynomial.
#ifndef TERVAN_ORBITS_GNSSPCLK_H
#define TERVAN_ORBITS_GNSSPCLK_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/matrix.h"
#include "gnss/mjd.h"

class GNSSpClk {
 public:
  GNSSpClk();

  void SetFile(const char* name);
  // A clock file of the previous or the next day, joined by ReadFile with the file
  // of SetFile into one series. Files are joined in the order given; each adds only
  // the epochs before or after the series joined so far. At an epoch that two
  // files share the earlier-given file's values are kept (the other fills only
  // missing values), and a difference above 1 ns is warned of. A file that leaves
  // a gap of more than one epoch interval is not joined (warning).
  void AddFile(const char* name);
  void ReadFile();

  int32_t GetNEpoch() const { return nepoch; }
  short GetNSatList() const { return nsat; }
  int32_t GetEpochIx() const { return EpochIx; }
  short GetSatList(long i) { return satList(i); }
  mjd GetEpoch(long i) { return epoch(i); }
  long double GetInterval() const { return interval; }
  float GetVersion() const { return version; }
  bool GetDTisOK() const { return DTisOK; }

  // Positions the epoch index for the GPS-time epoch t: the last clock epoch at or
  // before t (the first one before the data, the last but one after them).
  void SetEpochIndex(const mjd& t);
  // The same, searching from a previous index (after the data: the last epoch).
  void SetEpochIndex(const mjd& t, long start);

  // Clock correction dt (s) of satellite sat at t; DTisOK tells whether it is
  // usable. SetEpochIndex must have been called for t.
  void GetSatelliteClock(const short& sat, const mjd& t, long double& dt);

 private:
  void ReadHeader(std::istream& in);
  void ReadSatListLines(std::istream& in);
  // A satellite clock record of a listed satellite: epoch index, column, value (s).
  struct Record {
    int32_t epoch;
    short col;
    long double value;
  };
  // Reads the records after the header in one pass, checks the table they need
  // and fills it.
  void ReadData();
  // Record fields of an "AS" line (line fileLine of the file): satellite, epoch text
  // and value; false for other lines.
  bool SplitRecord(const char* line, size_t len, long fileLine, short& satno,
                   std::string_view& text, long double& value) const;
  // Checks the table size against the epochs (nEpochs counted, the first ones kept
  // in epochs) and records read, then the first bad epoch (error text, empty when
  // none), and fills the table.
  void FillTable(const std::vector<mjd>& epochs, long nEpochs, const std::vector<Record>& records,
                 long allRecords, bool sawHeaderEnd, const std::string& epochError);
  bool OutsideWarning(const mjd& t);
  // Reads the file of SetFile alone.
  void ReadOne();
  // Joins the series of other (read alone) before or after this series.
  void Join(const GNSSpClk& other);
  // Adds other's satellites missing from this list; returns the old column count.
  long JoinSatellites(const GNSSpClk& other);
  void SetInterval();
  // Minutes and denominators of the four nodes from first on.
  void SetNodes(long first);

  char clkfile[512];  // as long as a file name the command line accepts
  char type;
  float version;
  int32_t nepoch;
  short nsat;
  matrix<short> satList;
  matrix<short> satIx;
  matrix<short> sat;
  matrix<mjd> epoch;
  matrix<long double> SatClk;
  long double interval;
  int nPtsInt;
  int32_t EpochIx;
  bool DTisOK;
  // Nodes of the last interpolation: the first one's index (-1 none), their
  // minutes from it and their Lagrange denominators (min^3).
  long nodeFirst;
  long double nodeMinutes[4];
  long double nodeDen[4];

  int nameWidthExtra;                  // 5 for files whose record names are 9 characters wide
  std::vector<std::string> joinFiles;  // neighbouring files joined to clkfile
  bool offCentreWarned;                // the off-centre window was warned of
};

#endif
