#include "sdiff/ExcludeProblemSat.h"

#include <iomanip>
#include <iostream>

#include "core/ProgramError.h"
#include "core/ProgramOutput.h"

namespace {

struct Counts {
  long all = 0, phase = 0, code = 0;
};

// Deletes one value when the file has its type and the value is present.
bool Delete(bool hasType, matrix<gnssobs>& m, long r) {
  if (!hasType || m.v[r].IsNull()) return false;
  m.v[r] = 0.0L;
  return true;
}

void DeleteRecord(PhsDiffHeader& h, PhsDiffData& d, long r, short type, Counts& n) {
  long ph = 0, cd = 0;
  if (type == 1 || type == 3) {
    ph += Delete(h.iL1, d.L1, r);
    ph += Delete(h.iL2, d.L2, r);
  }
  if (type == 2 || type == 3) {
    cd += Delete(h.iC1, d.C1, r);
    cd += Delete(h.iP1, d.P1, r);
    cd += Delete(h.iP2, d.P2, r);
  }
  n.phase += ph;
  n.code += cd;
  n.all += ph + cd;
}

// Deletions of one entry of the problem list.
Counts ApplyEntry(PhsDiffHeader& h, PhsDiffData& d, const SatCRX& x, long i) {
  Counts n;
  const short s = x.GetSat(i), type = x.GetType(i);
  const mjd start = x.GetStart(i), end = x.GetEnd(i);
  long off = 0;
  for (long e = 0; e < d.neph; off += d.nsat(e), ++e) {
    if (d.epoch(e) < start || d.epoch(e) > end) continue;
    for (long r = off; r < off + d.nsat(e); ++r) {
      if (d.sat.v[r] != s) continue;
      if (type < 1 || type > 3)
        ProgramWarning("Tervan", "UNKNOWN PROBLEM FROM SATELLITE PROBLEM FILE - EXPECTED 1|2|3");
      else
        DeleteRecord(h, d, r, type, n);
    }
  }
  return n;
}

}  // namespace

void ExcludeProblemSat(PhsDiffHeader& sdh, PhsDiffData& sdd, SatCRX& scrx, bool isSCrx,
                       bool verbose) {
  if (!isSCrx) return;
  if (verbose) {
    std::cerr << "Tervan::ExcludeProblemSat(): EXCLUDING PROBLEMATIC SATELLITES!\n";
    std::cerr << "Tervan::ExcludeProblemSat():         Excluding: " << std::flush;
  }
  ProgramSubSubTitle("EXCLUDING PROBLEMATIC SATELLITES:", 0);
  Counts total;
  long nsats = 0;
  for (long i = 0; i < scrx.GetNSat(); ++i) {
    Counts n = ApplyEntry(sdh, sdd, scrx, i);
    if (n.all == 0) continue;
    ++nsats;
    total.all += n.all;
    total.phase += n.phase;
    total.code += n.code;
    std::cout << "  SAT: " << std::setw(4) << scrx.GetSat(i) << "    #OBS: " << std::setw(6)
              << n.all << "    #PHS: " << std::setw(6) << n.phase << "    #COD: " << std::setw(6)
              << n.code << '\n';
  }
  if (nsats > 0) std::cout << '\n';
  std::cout << "  Number of problematic satellites    : " << std::setw(6) << nsats << '\n'
            << "  Number of problematic observations  : " << std::setw(6) << total.all << '\n'
            << "                 PHASE observations   : " << std::setw(6) << total.phase << '\n'
            << "                 CODE observations    : " << std::setw(6) << total.code << '\n'
            << "\n\n"
            << std::flush;
  if (verbose)
    std::cerr << nsats << " sats  " << total.all << " obs  ->  " << total.phase << " phase  "
              << total.code << " code" << std::endl;
}
