// Text form of the binary residual file: one line per residual, columns separated by
// blanks, comment lines beginning with "#", so that GNUPlot and awk read it directly.
#ifndef TERVAN_TOOLS_RES2TXT_RESIDUALTEXT_H
#define TERVAN_TOOLS_RES2TXT_RESIDUALTEXT_H

#include <istream>
#include <ostream>
#include <vector>

#include "res2txt/ResidualFile.h"

class ResidualText {
 public:
  // The comment lines: the satellite list and the column names.
  static void WriteHeader(std::ostream& os, const std::vector<int>& sats);
  // One line per record: MJD [d], date, time, satellite, system, type, residual [m],
  // elevation [deg], azimuth [deg], outlier (1) or used (0).
  static void WriteEpoch(std::ostream& os, const ResidualEpoch& epoch);
  // The whole file; returns the number of records written.
  static long Convert(std::istream& in, std::ostream& os);
};

#endif
