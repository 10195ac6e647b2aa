#include "driver/Tervan_ReadFiles.h"

#include <iostream>
#include <sstream>
#include <string>

namespace {

// Verbose line after one input has been handed to its reader.
void SetLine(const TervanC& tc, const std::string& text) {
  if (tc.verbose) std::cerr << "Tervan::SetFiles():         setting " << text << std::endl;
}

// Verbose line of one input read.
void ReadLine(const TervanC& tc, const std::string& text) {
  if (tc.verbose) std::cerr << "Tervan::ReadFiles():        " << text << std::endl;
}

void SetStationFiles(TervanC& tc) {
  if (tc.isAtx) {
    tc.atx.SetFile(tc.atxfile);
    SetLine(tc, "ANTEX file!");
  }
  if (tc.isP1P2) {
    tc.p1p2.SetFile(tc.dcbp1p2file);
    SetLine(tc, "P1P2 DCB file!");
  }
  if (tc.isP1C1) {
    tc.p1c1.SetFile(tc.dcbp1c1file);
    SetLine(tc, "P1C1 DCB file!");
  }
  if (tc.isP2C2) {
    tc.p2c2.SetFile(tc.dcbp2c2file);
    SetLine(tc, "P2C2 DCB file!");
  }
  if (tc.isMyDCB) {
    tc.mydcb.SetFile(tc.mydbcfile);
    SetLine(tc, "Lustra - DCB file!");
  }
  if (tc.isRCodTrc) {
    tc.rctrack.SetFile(tc.rctrackfile);
    SetLine(tc, "RECEIVER CODE TRACKING file!");
  }
  if (tc.isAprCrd) {
    tc.acrd.SetFile(tc.aprcrdfile);
    SetLine(tc, "APRIORI COORDINATE file!");
  }
}

void ReadTides(TervanC& tc) {
  if (tc.isPTide) {
    tc.ptide.ReadFile();
    ReadLine(tc, "reading EARTH ROTATION PARAMETERS file - " +
                     std::to_string(tc.ptide.GetNEpoch()) + " epochs ");
  }
  if (tc.isOTide) {
    tc.otide.ReadFile();
    ReadLine(tc, "reading OCEAN LOADING TIDE file - " + std::to_string(tc.otide.GetNStation()) +
                     " stations ");
  }
}

void ReadAntennasAndBiases(TervanC& tc) {
  if (tc.isAtx) {
    tc.atx.ReadFile();
    std::ostringstream os;
    os << "reading ANTEX file - " << tc.atx.GetNGPSSat() << " GPS SWs  " << tc.atx.GetNGLNSat()
       << " GLONASS SWs  " << tc.atx.GetNRec() << " RECs";
    ReadLine(tc, os.str());
  }
  DCB* dcb[3] = {&tc.p1p2, &tc.p1c1, &tc.p2c2};
  const bool given[3] = {tc.isP1P2, tc.isP1C1, tc.isP2C2};
  const char* name[3] = {"P1P2", "P1C1", "P2C2"};
  for (int i = 0; i < 3; i++) {
    if (!given[i]) continue;
    dcb[i]->ReadFile();
    ReadLine(tc, std::string("reading ") + name[i] + " DCB file!");
  }
  if (tc.isMyDCB) {
    tc.mydcb.ReadFile();
    ReadLine(tc, "reading Lustra - DCB file!");
  }
}

}  // namespace

void SetFiles(TervanC& tc) {
  if (tc.verbose)
    std::cerr << "Tervan::SetFiles(): SETTING INPUT FILE NAMES AND PROCESSING SETTINGS!"
              << std::endl;
  if (tc.isPTide) {
    tc.ptide.SetFile(tc.ptidefile);
    SetLine(tc, "EARTH ROTATION PARAMETERS file!");
  }
  if (tc.isOTide) {
    tc.otide.SetFile(tc.otidefile);
    SetLine(tc, "OCEAN LOADING TIDE file!");
  }
  SetStationFiles(tc);
}

void ReadFiles(TervanC& tc) {
  if (tc.verbose) std::cerr << "Tervan::ReadFiles(): READING INPUT DATA FILES!" << std::endl;
  ReadTides(tc);
  ReadAntennasAndBiases(tc);
}
