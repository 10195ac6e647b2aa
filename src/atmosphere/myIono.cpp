#include "atmosphere/myIono.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <vector>

#include "core/ProgramError.h"
#include "core/TextFields.h"

namespace {

const char* const kCls = "myIono";

struct Record {
  long day;
  long double sec, val, rms, rate, rateRms;
};

}  // namespace

myIono::myIono() : neph(0), myIonoType(-1), IonoIx(-1), interval(-1.0L), DeltaT(0.0L) {
  file[0] = '\0';
}

void myIono::SetFile(const char* name) {
  std::snprintf(file, sizeof(file), "%s", name);
}

void myIono::Corrupt(const std::string& text) const {
  FileError(kCls, text);
}

void myIono::ReadFile() {
  std::ifstream in(file);
  std::string line;
  if (!in || !std::getline(in, line)) Corrupt("myIONO FILE CAN NOT BE READ!");
  if (line.find("EPOCH BY EPOCH") != std::string::npos)
    myIonoType = 1;
  else if (line.find("LINEAR") != std::string::npos)
    myIonoType = 0;
  else
    Corrupt("myIONO FILE TYPE NOT SET (LINEAR OR EPOCH BY EPOCH)!");

  std::vector<Record> recs;
  long nline = 1;
  while (std::getline(in, line)) {
    nline++;
    if (!line.empty() && line[0] == '#') continue;
    if (textfield::IsBlank(line)) continue;  // no record
    Record r{};
    long double day = 0.0L;
    bool ok = textfield::RealFrom(line, 0, day) && textfield::RealFrom(line, 8, r.sec) &&
              textfield::RealFrom(line, 16, r.val) && textfield::RealFrom(line, 30, r.rms);
    if (ok && myIonoType == 0)
      ok = textfield::RealFrom(line, 39, r.rate) && textfield::RealFrom(line, 55, r.rateRms);
    ok = ok && day >= 0.0L && day < 200000.0L && r.sec >= 0.0L && r.sec < 86400.0L;
    if (!ok) Corrupt("myIONO FILE RECORD IN LINE " + std::to_string(nline) + " CAN NOT BE READ!");
    r.day = static_cast<long>(day);
    recs.push_back(r);
  }
  if (recs.empty()) Corrupt("myIONO FILE HOLDS NO RECORDS!");

  neph = static_cast<long>(recs.size());
  const long ncol = myIonoType == 0 ? 2 : 1;
  VAL.Resize(neph, ncol, 0.0L);
  RMS.Resize(neph, ncol, 0.0L);
  eph.Resize(neph, 1);
  interval = -1.0L;
  for (long i = 0; i < neph; i++) {
    eph(i) = mjd(recs[i].day, recs[i].sec);
    VAL(i, 0) = recs[i].val;
    RMS(i, 0) = recs[i].rms;
    if (ncol == 2) {
      VAL(i, 1) = recs[i].rate;
      RMS(i, 1) = recs[i].rateRms;
    }
    if (i == 0) continue;
    const long double step = eph(i) - eph(i - 1);
    if (!(step > 0.0L))
      Corrupt("myIONO FILE RECORDS NOT IN ASCENDING TIME ORDER (RECORD " + std::to_string(i + 1) +
              ")!");
    if (interval < 0.0L || step < interval) interval = step;
  }
  IonoIx = -1;
}

// Index i of the record with eph(i) <= t < eph(i + 1), searched from start (0 when t is
// before the first record, neph - 1 from the last on).
long myIono::Bracket(const mjd& t, long start) const {
  long i = start < 0 ? 0 : (start >= neph ? neph - 1 : start);
  while (i + 1 < neph && !(eph(i + 1) > t)) i++;
  while (i > 0 && eph(i) > t) i--;
  return i;
}

// Epochs at or beyond the first or last record take that record, with a warning when they
// lie further away than the file's spacing allows.
bool myIono::AtEnds(const mjd& t) {
  const bool linear = myIonoType == 0;
  // A file of one record has no spacing (interval -1): only its own epoch is near it.
  const long double spacing = interval > 0.0L ? interval : 0.0L;
  if (t <= eph(0)) {
    IonoIx = 0;
    const long double limit = linear ? 900.0L : 3.0L * spacing;
    if (eph(0) - t > limit)
      ClassWarning(kCls, linear ? "IONO INDEX SET TO ZERO (0) - INPUT EPOCH PRIOR TO FIRST IONO "
                                  "EPOCH (<900s)"
                                : "IONO INDEX SET TO ZERO (0) - INPUT EPOCH PRIOR TO FIRST IONO "
                                  "EPOCH (<3*INTERVALs)");
    return true;
  }
  if (t >= eph(neph - 1)) {
    IonoIx = neph - 1;
    const long double limit = linear ? spacing + 900.0L : 3.0L * spacing;
    if (t - eph(neph - 1) > limit)
      ClassWarning(kCls, linear ? "IONO INDEX SET TO LAST (neph-1) - INPUT EPOCH LATER THAN LAST "
                                  "IONO EPOCH (>INTERVAL+900s)"
                                : "IONO INDEX SET TO LAST (neph-1) - INPUT EPOCH LATER THAN LAST "
                                  "IONO EPOCH (>3*INTERVALs)");
    return true;
  }
  return false;
}

// Linear mode keeps the record at or before the epoch; epoch-by-epoch mode takes the record
// within 0.1 s, or else the nearer of the two around the epoch (the later one on a tie).
void myIono::Choose(const mjd& t, long i) {
  IonoIx = i;
  if (myIonoType == 0 || i + 1 >= neph) return;
  const long double before = t - eph(i), after = eph(i + 1) - t;
  if (std::fabs(before) < 0.1L) return;
  if (std::fabs(after) < 0.1L || !(before < after)) IonoIx = i + 1;
}

void myIono::SetIonoIndex(const mjd& t) {
  if (neph == 0) Corrupt("myIONO FILE HOLDS NO RECORDS!");
  if (AtEnds(t)) return;
  Choose(t, Bracket(t, 0));
}

void myIono::SetIonoIndex(const mjd& t, long previous) {
  if (neph == 0) Corrupt("myIONO FILE HOLDS NO RECORDS!");
  if ((previous <= 0 && t <= eph(0)) || (previous >= neph - 1 && t >= eph(neph - 1))) {
    AtEnds(t);
    return;
  }
  Choose(t, Bracket(t, previous));
}

void myIono::GetIonoDelay(const mjd& t, long double& delay) {
  if (IonoIx < 0 || IonoIx >= neph) SetIonoIndex(t);
  if (myIonoType == 0) {
    DeltaT = (t - eph(IonoIx)) / 3600.0L;
    delay = VAL(IonoIx, 0) + DeltaT * VAL(IonoIx, 1);
  } else {
    delay = VAL(IonoIx, 0);
  }
}
