#include "orbits/GLNSat.h"

#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "core/ProgramError.h"
#include "core/TextFields.h"
#include "core/cfilef.h"
#include "gnss/TimeConverse.h"

namespace {
struct Row {
  short sat;
  mjd start, end;
  long double channel;
};

// Epoch of the date and time fields starting at year (0-based), laid out as
// "YYYY MM DD HH MM SS"; the calendar class ends the run on an invalid date.
// A field that holds no number is a framed error naming the file and the line.
long double Number(const char* file, const std::string& line, size_t pos, size_t len) {
  const std::optional<long double> v = textfield::Real(line, pos, len);
  if (!v) ProgramError("Tervan", textfield::MalformedField(file, line, pos, len));
  return *v;
}

long Integer(const char* file, const std::string& line, size_t pos, size_t len) {
  const std::optional<long> v = textfield::Int(line, pos, len);
  if (!v) ProgramError("Tervan", textfield::MalformedField(file, line, pos, len));
  return *v;
}

mjd FieldEpoch(const char* file, const std::string& line, size_t year) {
  const ymdhms t(Integer(file, line, year, 4), Integer(file, line, year + 5, 2),
                 Integer(file, line, year + 8, 2), Integer(file, line, year + 11, 2),
                 Integer(file, line, year + 14, 2), Number(file, line, year + 17, 3));
  return ymdhms2mjd(t);
}
}  // namespace

GLNSat::GLNSat() : IsGLNSat(false), nsat(0), lastEph(88068, 86399.0L) {
  file[0] = '\0';
}

void GLNSat::SetFile(const char* name) {
  std::strncpy(file, name, sizeof(file) - 1);
  file[sizeof(file) - 1] = '\0';
  if (!FileExists(file)) ProgramError("Tervan", "GLONASS FREQUENCY CHANNEL FILE DOES NOT EXIST!");
}

void GLNSat::ReadFile() {
  std::ifstream in(file);
  if (!in) ProgramError("Tervan", "GLONASS FREQUENCY CHANNEL FILE CAN NOT BE OPENED!");
  std::vector<Row> rows;
  std::string line;
  while (textfield::GetLine(in, line)) {
    if (line.empty() || line[0] == '#' || line[0] == ' ') continue;
    // Rows of other systems carry no GLONASS channel.
    if (line[0] != 'R') continue;
    const long slot = textfield::Int(line, 1, 9).value_or(0);
    if (slot < 1 || slot > 99) continue;
    Row r;
    r.sat = static_cast<short>(100 + slot);
    r.start = FieldEpoch(file, line, 10);
    r.end = line.size() > 31 && line[31] != ' ' ? FieldEpoch(file, line, 31) : lastEph;
    r.channel = Number(file, line, 51, std::string::npos);
    rows.push_back(r);
  }
  nsat = static_cast<int32_t>(rows.size());
  sat.Resize(nsat, 1, 0);
  eph.Resize(nsat, 2);
  FreqChannel.Resize(nsat, 1, 0.0L);
  for (long i = 0; i < nsat; i++) {
    sat(i) = rows[i].sat;
    eph(i, 0) = rows[i].start;
    eph(i, 1) = rows[i].end;
    FreqChannel(i) = rows[i].channel;
  }
}

long double GLNSat::GetFreqNum(short satno, const mjd& t) {
  IsGLNSat = false;
  for (long i = 0; i < nsat; i++) {
    if (sat(i) == satno && eph(i, 0) <= t && t <= eph(i, 1)) {
      IsGLNSat = true;
      return FreqChannel(i);
    }
  }
  return 0.0L;
}
