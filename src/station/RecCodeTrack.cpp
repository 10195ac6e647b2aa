#include "station/RecCodeTrack.h"

#include <cstdio>
#include <cstring>
#include <fstream>

#include "core/ProgramError.h"
#include "core/TextFields.h"
#include "core/cfilef.h"

using textfield::Cut;

namespace {

// The first line of the list containing the receiver type; false when none does.
bool FindEntry(std::istream& in, const char* receiver, std::string& line) {
  if (textfield::IsBlank(receiver)) return false;
  while (std::getline(in, line))
    if (line.find(receiver) != std::string::npos) return true;
  return false;
}

}  // namespace

RecCodeTrack::RecCodeTrack() {
  file[0] = '\0';
}

void RecCodeTrack::SetFile(const char* name) {
  std::snprintf(file, sizeof file, "%s", name);
  if (!FileExists(file))
    ProgramError("Tervan", "RECEIVER LIST FILE CAN NOT BE OPENED (CODE TRACKING TECHNIQUE)!");
}

int RecCodeTrack::CheckRecName(const char* receiver) {
  std::ifstream in(file);
  std::string line;
  return in && FindEntry(in, receiver, line) ? 1 : 0;
}

int RecCodeTrack::GetRecCodeTrack(const char* receiver) {
  std::ifstream in(file);
  if (!in) return 0;
  std::string line;
  if (!FindEntry(in, receiver, line)) {
    ClassWarning("RecCodeTrack",
                 "RECEIVER: " + std::string(receiver) +
                     " NOT LISTED IN RECEIVER TYPES LIST - SETTING CODE TRACKING TO "
                     "P1P2 VALUE!");
    return 0;
  }
  // A frequency count that is not a number leaves the class undetermined.
  const std::optional<long> nfreq = textfield::Int(line, 23, 1);
  const std::string first = Cut(line, 29, 2);
  std::string second;
  if (nfreq == 2L && std::getline(in, line)) second = Cut(line, 29, 2);
  if (first == "C1" && second == "P2") return 1;
  if (first == "P1" && second == "P2") return 0;
  if (first == "C1" && second == "X2") return 2;
  ClassWarning("RecCodeTrack",
               "RECEIVER: " + std::string(receiver) +
                   " DETERMINATION OF CODE TRACKING NOT SUCCESFUL - SETTING TO P1P2 "
                   "VALUE!");
  return 0;
}
