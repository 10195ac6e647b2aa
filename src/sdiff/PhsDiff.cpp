#include "sdiff/PhsDiff.h"

#include <cstring>
#include <fstream>
#include <string>

#include "core/LineReader.h"
#include "core/ProgramError.h"

namespace {

const char* const kCannotOpen = "PhsDiff FILE CAN NOT BE OPENED!";

void OpenOrExit(const char* name, std::ifstream& in) {
  in.open(name, std::ios::binary);
  if (!in) ProgramError("Tervan", kCannotOpen);
}

bool IsBlank(const char* p, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (p[i] != ' ' && p[i] != '\t') return false;
  return true;
}

}  // namespace

void PhsDiff::SetFile(const char* name) {
  if (std::strlen(name) >= sizeof(sdfile)) ProgramError("Tervan", "PhsDiff FILE NAME IS TOO LONG!");
  std::strcpy(sdfile, name);
  std::ifstream in;
  OpenOrExit(sdfile, in);
}

void PhsDiff::CountRec() {
  std::ifstream in;
  OpenOrExit(sdfile, in);
  LineReader lr(in);
  nepoch = 0;
  nobsall = 0;
  const char* p;
  size_t n;
  bool observations = false;
  while (lr.Next(p, n)) {
    size_t len = n < 511 ? n : 511;
    std::string line(p, len);
    if (line.find("END OF HEADER") != std::string::npos) {
      observations = len > 14 && line[14] == '1';
      break;
    }
  }
  if (observations) rhead.SetHasObservations(true);
  if (!observations) return;
  while (lr.Next(p, n)) {
    if (IsBlank(p, n)) continue;
    long count = PhsDiffData::EpochCount(p, n, lr.LineNumber());
    long epochLine = lr.LineNumber();
    for (long i = 0; i < count; ++i)
      if (!lr.Next(p, n))
        ProgramError("Tervan", "SINGLE DIFFERENCES FILE ENDS INSIDE THE EPOCH OF LINE " +
                                   std::to_string(epochLine) + "!");
    ++nepoch;
    nobsall += count;
  }
}

void PhsDiff::ReadFile() {
  CountRec();
  rdata.SetNRecords(nepoch, nobsall);
  std::ifstream in;
  OpenOrExit(sdfile, in);
  LineReader lr(in);
  rhead.Read(lr);
  rdata.Read(lr);
}
