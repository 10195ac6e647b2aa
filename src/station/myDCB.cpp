#include "station/myDCB.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "core/ProgramError.h"
#include "core/TextFields.h"
#include "core/cfilef.h"

using textfield::RealFrom;

namespace {

[[noreturn]] void Corrupted() {
  FileError("myDCB", "DCB FILE CORRUPTED!");
}

}  // namespace

myDCB::myDCB() : nsat(0), recP1C1(0), recP2C1(0), recP1C1rms(0), recP2C1rms(0), RefEpoch(0, 0.0L) {
  file[0] = '\0';
}

void myDCB::SetFile(const char* name) {
  std::snprintf(file, sizeof file, "%s", name);
  if (!FileExists(file)) ProgramError("Tervan", "DCB FILE DOES NOT EXIST!");
}

void myDCB::ReadSatellite(const std::string& line, long i) {
  long double n, v[4];
  if (!RealFrom(line, 7, n) || n < 0 || n > 99) Corrupted();
  for (int k = 0; k < 4; k++)
    if (!RealFrom(line, 10 + 11 * k, v[k])) Corrupted();
  const char sys = line.size() > 6 ? line[6] : ' ';
  sat(i) = static_cast<short>(static_cast<short>(n) + (sys == 'R' ? 100 : sys == 'E' ? 200 : 0));
  VAL(i, 0) = v[0];
  RMS(i, 0) = v[1];
  VAL(i, 1) = v[2];
  RMS(i, 1) = v[3];
}

void myDCB::ReadFile() {
  std::ifstream in(file);
  if (!in) ProgramError("Tervan", "DCB FILE DOES NOT EXIST!");
  long n = 0;
  std::string line;
  while (std::getline(in, line)) {
    if (line.find("#REFERECNE EPOCH:") != std::string::npos) {
      long double day, sec;
      if (!RealFrom(line, 18, day) || !RealFrom(line, 24, sec) || day < 0 || day >= 200000 ||
          sec < 0 || sec >= 86400)
        Corrupted();
      RefEpoch = mjd(static_cast<long long>(day), sec);
    }
    if (!line.empty() && line[0] == 'S') n++;
  }
  if (n > 32767) Corrupted();
  nsat = static_cast<short>(n);
  sat.Resize(nsat);
  VAL.Resize(nsat, 2);
  RMS.Resize(nsat, 2);
  std::ifstream again(file);
  long i = 0;
  while (std::getline(again, line)) {
    if (line.empty()) continue;
    if (line[0] == 'R') {
      if (!RealFrom(line, 10, recP1C1) || !RealFrom(line, 21, recP1C1rms) ||
          !RealFrom(line, 32, recP2C1) || !RealFrom(line, 43, recP2C1rms))
        Corrupted();
    } else if (line[0] == 'S' && i < nsat) {
      ReadSatellite(line, i++);
    }
  }
}

long myDCB::Index(short satellite) const {
  for (long i = 0; i < nsat; i++)
    if (sat(i) == satellite) return i;
  char text[128];
  std::snprintf(text, sizeof text,
                "SATELLITE: %02d NOT LISTED IN DCB VALUES - SETTING 0.0s VALUES!", satellite);
  ClassWarning("myDCB", text);
  return -1;
}

void myDCB::GetDCB(short satellite, long double& p1c1, long double& p1c1rms, long double& p2c1,
                   long double& p2c1rms) {
  const long i = Index(satellite);
  p1c1 = i < 0 ? 0 : VAL(i, 0);
  p2c1 = i < 0 ? 0 : VAL(i, 1);
  p1c1rms = i < 0 ? 0 : RMS(i, 0);
  p2c1rms = i < 0 ? 0 : RMS(i, 1);
}

void myDCB::GetDCBVAL(short satellite, long double& p1c1, long double& p2c1) {
  const long i = Index(satellite);
  p1c1 = i < 0 ? 0 : VAL(i, 0);
  p2c1 = i < 0 ? 0 : VAL(i, 1);
}

void myDCB::GetDCBRMS(short satellite, long double& p1c1rms, long double& p2c1rms) {
  const long i = Index(satellite);
  p1c1rms = i < 0 ? 0 : RMS(i, 0);
  p2c1rms = i < 0 ? 0 : RMS(i, 1);
}
