// Reading of RINEX navigation files shared by the GPS/Galileo and GLONASS
// broadcast classes: header lines by label, and the records of one satellite
// system, from version 2 files (one system per file) and version 3 files
// (single-system or mixed).
#ifndef TERVAN_ORBITS_NAVFILE_H
#define TERVAN_ORBITS_NAVFILE_H

#include <functional>
#include <istream>
#include <string>
#include <vector>

#include "core/matrix.h"
#include "gnss/mjd.h"

namespace navfile {

const int kMaxValues = 28;

struct Record {
  short sat = 0;           // number within the system (PRN or slot)
  mjd epoch;               // record epoch as written (time scale of the system)
  long double second = 0;  // seconds of the minute as written
  long double values[kMaxValues] = {};
};

// Reads header lines up to "END OF HEADER". Every line is handed to label(line,
// text of the label from column 61); a false return marks an unknown label, which
// is reported by a warning of class cls. Returns the format version. A file
// without "END OF HEADER" is a data error of class dataCls.
float ReadHeader(std::istream& in,
                 const std::function<bool(const std::string&, const std::string&)>& label,
                 const std::string& cls, const std::string& dataCls);

// Reads the records of one system: version 2 records of linesV2 lines, version 3
// records beginning with the system letter. nvalues values per record.
std::vector<Record> ReadRecords(std::istream& in, float version, char system, int nvalues,
                                int linesV2, const std::string& dataCls);

// Removes the records for which usable(record) is false, with a warning of
// class dataCls for each.
void DropUnusable(std::vector<Record>& records, char system,
                  const std::function<bool(const Record&)>& usable, const std::string& dataCls);

// Per-satellite lists of records in time order, and the choice of the record for
// an epoch: the nearer of the two records around it (the earlier one at equal
// distance), the first before them and the last after them. Records fitted for
// the time after their epoch (Galileo) are chosen forward: the latest record whose
// epoch is not later than the epoch, the first one before any.
class Index {
 public:
  void Build(const matrix<short>& sat, const matrix<mjd>& epochs);
  bool Has(short sat) const;
  long Select(short sat, const mjd& t, const matrix<mjd>& epochs, bool forward = false) const;

 private:
  std::vector<std::vector<long>> bySat;
};

// Takes the labels that open every navigation header: "RINEX VERSION / TYPE"
// (version and type) and "PGM / RUN BY / DATE". False when the line has neither.
bool IdentityLabel(const std::string& line, float& version, char (&type)[20], char (&pgm)[21],
                   char (&runby)[21], char (&date)[20]);

// The number of a header or record field; a blank field is 0 (a missing value,
// as RINEX documents for spare fields), anything else that is no number is a
// framed error of class cls naming the columns, the line and its number (lineNo,
// 0 when unknown).
long double Value(const std::string& line, size_t pos, size_t len, const std::string& cls,
                  long lineNo = 0);
long IntValue(const std::string& line, size_t pos, size_t len, const std::string& cls);

// One orbit parameter on standard output: "cls:: ", the name in width 10 and
// the value in scientific notation with 15 digits in width 30.
void PrintParameter(const char* cls, const char* name, long double value);

}  // namespace navfile

#endif
