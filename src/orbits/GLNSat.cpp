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
// A field that holds no number is a framed error naming the file, the line and
// its number.
struct Line {
  const char* file;
  const std::string& text;
  long number;
};

template <class T>
T Need(const std::optional<T>& v, const Line& l, size_t pos, size_t len) {
  if (!v) ProgramError("Tervan", textfield::MalformedField(l.file, l.text, pos, len, l.number));
  return *v;
}

long double Number(const Line& l, size_t pos, size_t len) {
  return Need(textfield::Real(l.text, pos, len), l, pos, len);
}

long Integer(const Line& l, size_t pos, size_t len) {
  return Need(textfield::Int(l.text, pos, len), l, pos, len);
}

mjd FieldEpoch(const Line& l, size_t year) {
  const ymdhms t(Integer(l, year, 4), Integer(l, year + 5, 2), Integer(l, year + 8, 2),
                 Integer(l, year + 11, 2), Integer(l, year + 14, 2), Number(l, year + 17, 3));
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
    const Line l{file, line, textfield::LineNumber(in)};
    r.start = FieldEpoch(l, 10);
    r.end = line.size() > 31 && line[31] != ' ' ? FieldEpoch(l, 31) : lastEph;
    r.channel = Number(l, 51, std::string::npos);
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
