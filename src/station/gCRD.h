// A-priori station coordinates with velocities from a coordinate list file.
// Each station line holds the record number (columns 0-3), the marker name
// (from column 5), the marker number (26-85), X, Y, Z (m), optionally VX, VY,
// VZ (m/yr) and the reference epoch of the coordinates.
#ifndef TERVAN_STATION_GCRD_H
#define TERVAN_STATION_GCRD_H

#include <fstream>
#include <string>

#include "gnss/mjd.h"
#include "gnss/xyz.h"
#include "gnss/ymdhms.h"

class gCRD {
 public:
  gCRD();

  // Stores the name; a file that does not exist ends the run.
  void SetFile(const char* name);
  const char* GetFile() const { return file; }

  // Coordinates (m, Earth-fixed) of the first line whose name starts with the
  // searched name and whose marker number is empty or equal to the searched
  // number, propagated with the velocities to the epoch; (0, 0, 0) and
  // IsSite() false when there is none.
  xyz GetCRD(const char* name, const char* number, const mjd& epoch);
  bool IsSite() const { return IsSiteB; }

 private:
  // Position of a matching station line at decimal year tyear; false when the
  // line's numbers cannot be read.
  bool LinePosition(const std::string& line, long double tyear, xyz& pos);

  char file[512];  // as long as the names the command line takes
  bool IsSiteB;
  ymdhms dm;
  std::ofstream out;  // not used by this program
};

#endif
