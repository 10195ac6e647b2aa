#include "atmosphere/IONEX.h"

#include <cstdio>
#include <fstream>
#include <string>

#include "core/ProgramError.h"

IONEX::IONEX(IONEXHeader& head, IONEXData& data) : sattmp(0), ihead(head), idata(data) {
  ifile[0] = '\0';
}

void IONEX::SetFile(const char* name) {
  std::snprintf(ifile, sizeof(ifile), "%s", name);
}

void IONEX::ReadFile() {
  std::ifstream in(ifile);
  if (!in) {
    char text[600];
    std::snprintf(text, sizeof(text), "IONEX file can not be opened [%s]!!!", ifile);
    FileError("IONEX", text);
  }
  int nsat = 0, nstats = 0;
  std::string line;
  while (std::getline(in, line) && line.find("END OF HEADER") == std::string::npos) {
    if (line.find("PRN / BIAS / RMS") != std::string::npos) nsat++;
    if (line.find("STATION / BIAS / RMS") != std::string::npos) nstats++;
  }
  in.clear();
  in.seekg(0);
  ihead.Read(in, nsat, nstats);
  idata.ReadMaps(in);
}
