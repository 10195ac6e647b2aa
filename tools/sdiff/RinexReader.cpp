#include "sdiff/RinexReader.h"

#include "core/TextFields.h"
#include "gnss/TimeConverse.h"
#include "gnss/ymdhms.h"
#include "sdiff/Report.h"

using textfield::FieldState;
using textfield::Fixed;
using textfield::FixedField;
using textfield::FixedInt;
using textfield::Padded;
using textfield::Take;
using textfield::Trim;
using textfield::Trimmed;

namespace {

bool StartsWith(const std::string& s, const char* prefix) {
  return s.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// Antenna type as ANTEX names it: model in columns 0-15, radome in 16-19 ("NONE"
// when the file gives none).
std::string AntennaType(const std::string& field) {
  std::string model = Trim(field.substr(0, 16));
  std::string radome = Trim(field.substr(16, 4));
  if (model.find(' ') != std::string::npos) {
    // Radome written right after the model with a single blank.
    size_t b = model.find(' ');
    radome = Trim(model.substr(b));
    model = model.substr(0, b);
  }
  if (radome.empty()) radome = "NONE";
  model.resize(16, ' ');
  radome.resize(4, ' ');
  return model + radome;
}

}  // namespace

RinexReader::RinexReader(std::unique_ptr<LineSource> in) : in_(std::move(in)) {
  ReadHeader();
}

void RinexReader::Fail(const std::string& what) const {
  SdError("FILE " + Name() + " IS NOT A VALID RINEX OBSERVATION FILE (LINE " +
          std::to_string(in_->LineNumber()) + ": " + what + ")!");
}

std::string RinexReader::NextRecordLine() {
  std::string line;
  NextRecordLine(line);
  return line;
}

void RinexReader::NextRecordLine(std::string& line) {
  if (!in_->Next(line)) Fail("FILE ENDS INSIDE AN EPOCH RECORD");
}

void RinexReader::ReadHeader() {
  std::string line;
  if (!in_->Next(line) || !StartsWith(Trimmed(line, 60), "RINEX VERSION / TYPE"))
    SdError("FILE " + Name() + " IS NOT A RINEX FILE!");
  long double v;
  if (!Take(Fixed(line, 0, 9), v) || v < 2 || v >= 5) Fail("UNSUPPORTED RINEX VERSION");
  if (Padded(line, 20, 1) != "O") SdError("FILE " + Name() + " IS NOT A RINEX OBSERVATION FILE!");
  header_.version = static_cast<double>(v);
  header_.system = Padded(line, 40, 1)[0];
  for (;;) {
    if (!in_->Next(line)) Fail("NO END OF HEADER");
    if (StartsWith(Trimmed(line, 60), "END OF HEADER")) break;
    ParseHeaderLine(line);
  }
  if (header_.types.empty()) Fail("NO OBSERVATION TYPES IN THE HEADER");
  // Pure GLONASS files of RINEX 2 count in GLONASS time unless they say otherwise.
  glonassTime_ = header_.timeSystem == "GLO" ||
                 (header_.timeSystem.empty() && header_.IsRinex2() && header_.system == 'R');
}

void RinexReader::ParseHeaderLine(const std::string& line) {
  const std::string label = Trimmed(line, 60);
  if (StartsWith(label, "MARKER NAME")) {
    header_.markerName = Trim(Padded(line, 0, 60));
  } else if (StartsWith(label, "MARKER NUMBER")) {
    header_.markerNumber = Trim(Padded(line, 0, 20));
  } else if (StartsWith(label, "REC # / TYPE / VERS")) {
    header_.receiverType = Trim(Padded(line, 20, 20));
  } else if (StartsWith(label, "ANT # / TYPE")) {
    header_.antennaSerial = Trim(Padded(line, 0, 20));
    header_.antennaType = AntennaType(Padded(line, 20, 20));
  } else if (StartsWith(label, "APPROX POSITION XYZ")) {
    long double p[3];
    bool ok = true;
    for (int i = 0; i < 3; ++i) ok = ok && Take(Fixed(line, 14 * i, 14), p[i]);
    if (ok) {
      for (int i = 0; i < 3; ++i) header_.position[i] = p[i];
      header_.hasPosition = true;
    }
  } else if (StartsWith(label, "ANTENNA: DELTA H/E/N")) {
    for (int i = 0; i < 3; ++i)
      if (FixedField(line, 14 * i, 14, header_.deltaHEN[i]) == FieldState::kMalformed)
        Fail("BAD ANTENNA ECCENTRICITY");
  } else if (StartsWith(label, "# / TYPES OF OBSERV") || StartsWith(label, "SYS / # / OBS TYPES")) {
    ParseTypes(line);
  } else if (StartsWith(label, "SYS / SCALE FACTOR")) {
    ParseScaleFactor(line);
  } else if (StartsWith(label, "GLONASS SLOT / FRQ #")) {
    ParseGlonassSlots(line);
  } else if (StartsWith(label, "INTERVAL")) {
    if (!Take(textfield::RealOr(line, 0, 60, 0.0L), header_.interval) || header_.interval < 0)
      Fail("BAD OBSERVATION INTERVAL");
  } else if (StartsWith(label, "TIME OF FIRST OBS")) {
    header_.timeSystem = Trim(Padded(line, 48, 3));
  }
}

void RinexReader::ParseTypes(const std::string& line) {
  const bool r2 = header_.IsRinex2();
  const bool continuation = r2 ? Trim(Padded(line, 0, 6)).empty() : line[0] == ' ';
  if (!continuation) {
    long n;
    if (!Take(FixedInt(line, r2 ? 0 : 3, r2 ? 6 : 3), n) || n < 0 || n > 999)
      Fail("BAD NUMBER OF OBSERVATION TYPES");
    typesSys_ = r2 ? ' ' : line[0];
    typesLeft_ = n;
    header_.types[typesSys_].clear();
    ++header_.typesVersion;
  } else if (typesSys_ == 0) {
    Fail("OBSERVATION TYPES CONTINUED WITHOUT A FIRST LINE");
  }
  std::vector<std::string>& list = header_.types[typesSys_];
  const int perLine = r2 ? 9 : 13;
  for (int i = 0; i < perLine && typesLeft_ > 0; ++i, --typesLeft_) {
    std::string t = r2 ? Padded(line, 10 + 6 * i, 2) : Padded(line, 7 + 4 * i, 3);
    list.push_back(t);
  }
}

void RinexReader::ParseScaleFactor(const std::string& line) {
  size_t firstType = 11;
  if (line[0] != ' ') {
    long factor, n = 0;
    if (!Take(FixedInt(line, 2, 4), factor) || factor <= 0) Fail("BAD SCALE FACTOR");
    Take(FixedInt(line, 8, 2), n);
    scaleSys_ = line[0];
    scaleFactor_ = static_cast<long double>(factor);
    if (n == 0) header_.scale[scaleSys_]["*"] = scaleFactor_;
  } else if (scaleSys_ == 0) {
    return;
  }
  for (int i = 0; i < 12; ++i) {
    std::string code = Trim(Padded(line, firstType + 4 * i, 3));
    if (!code.empty()) header_.scale[scaleSys_][code] = scaleFactor_;
  }
}

void RinexReader::ParseGlonassSlots(const std::string& line) {
  for (int j = 0; j < 8; ++j) {
    std::string id = Padded(line, 4 + 7 * j, 3);
    long slot, channel;
    if (id[0] != 'R' || !Take(FixedInt(id, 1, 2), slot)) continue;
    if (!Take(FixedInt(line, 8 + 7 * j, 2), channel) || channel < -7 || channel > 13)
      Fail("BAD GLONASS FREQUENCY CHANNEL");
    header_.glonassChannels[static_cast<int>(slot)] = static_cast<int>(channel);
  }
}

mjd RinexReader::ParseTime(const std::string& line) const {
  const bool r2 = header_.IsRinex2();
  long y, mo, d, h, mi;
  long double s;
  bool ok = Take(FixedInt(line, r2 ? 1 : 2, r2 ? 2 : 4), y) &&
            Take(FixedInt(line, r2 ? 4 : 7, 2), mo) && Take(FixedInt(line, r2 ? 7 : 10, 2), d) &&
            Take(FixedInt(line, r2 ? 10 : 13, 2), h) && Take(FixedInt(line, r2 ? 13 : 16, 2), mi) &&
            Take(Fixed(line, r2 ? 15 : 18, 11), s);
  if (r2 && ok) y += y < 80 ? 2000 : 1900;
  if (!ok || y < 1980 || y > 2100 || mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 ||
      mi < 0 || mi > 59 || s < 0 || s >= 61)
    Fail("BAD EPOCH TIME");
  mjd t = ymdhms2mjd(ymdhms(y, mo, d, 0, 0, 0.0L));
  t += static_cast<long double>(h * 3600 + mi * 60) + s;
  if (glonassTime_) {
    // GLONASS time is UTC(SU), three hours ahead of UTC: epochs go to GPS time.
    t += -10800.0L;
    t += static_cast<long double>(LeapSecond(t));
  }
  return t;
}

short RinexReader::SatNumber(const std::string& id) const {
  long n;
  if (!Take(FixedInt(id, 1, 2), n) || n < 1 || n > 99) Fail("BAD SATELLITE '" + id + "'");
  switch (id[0]) {
    case ' ':
    case 'G':
      return static_cast<short>(n);
    case 'R':
      return static_cast<short>(100 + n);
    case 'E':
      return static_cast<short>(200 + n);
    default:
      return 0;  // other systems are not differenced
  }
}

void RinexReader::ReadSatellites2(const std::string& first, long count,
                                  std::vector<std::string>& ids) {
  ids.clear();
  std::string line = first;
  for (long i = 0; i < count; ++i) {
    if (i > 0 && i % 12 == 0) line = NextRecordLine();
    ids.push_back(Padded(line, 32 + 3 * (i % 12), 3));
  }
}

void RinexReader::ReadValues(SatObs& so, char sys, const std::string& text, size_t first,
                             bool rinex2) {
  const std::vector<std::string>& types = header_.TypesOf(sys);
  so.values.assign(types.size(), 0.0L);
  auto sc = header_.scale.find(rinex2 ? ' ' : sys);
  for (size_t j = 0; j < types.size(); ++j) {
    long double v;
    FieldState f = FixedField(text, first + 16 * j, 14, v);
    if (f == FieldState::kMalformed) Fail("BAD OBSERVATION VALUE");
    if (f == FieldState::kBlank) continue;
    if (sc != header_.scale.end()) {
      auto it = sc->second.find(Trim(types[j]));
      if (it == sc->second.end()) it = sc->second.find("*");
      if (it != sc->second.end()) v /= it->second;
    }
    so.values[j] = v;
  }
}

void RinexReader::SkipRecords(const std::string& epochLine, long count, bool observation) {
  if (!observation) {
    for (long i = 0; i < count; ++i) {
      std::string rec = NextRecordLine();
      const std::string label = Trimmed(rec, 60);
      // Changes of the observation types apply from the next epoch on.
      if (StartsWith(label, "# / TYPES OF OBSERV") || StartsWith(label, "SYS / # / OBS TYPES") ||
          StartsWith(label, "SYS / SCALE FACTOR"))
        ParseHeaderLine(rec);
    }
    return;
  }
  if (!header_.IsRinex2()) {
    for (long i = 0; i < count; ++i) NextRecordLine();
    return;
  }
  std::vector<std::string> ids;
  ReadSatellites2(epochLine, count, ids);
  const long lines = (static_cast<long>(header_.TypesOf(' ').size()) + 4) / 5;
  for (long i = 0; i < count * lines; ++i) NextRecordLine();
}

bool RinexReader::ReadRecord(RinexEpoch& epoch, bool& isObservation) {
  std::string& line = line_;
  do {
    if (!in_->Next(line)) return false;
  } while (line.find_first_not_of(" \t\r\n") == std::string::npos);  // blank lines
  const bool r2 = header_.IsRinex2();
  if (!r2 && line[0] != '>') Fail("EPOCH LINE EXPECTED");
  char flag = Padded(line, r2 ? 28 : 31, 1)[0];
  if (flag == ' ') flag = '0';
  long count;
  if (flag < '0' || flag > '6' || !Take(FixedInt(line, r2 ? 29 : 32, 3), count) || count < 0)
    Fail("BAD EPOCH LINE");
  isObservation = flag == '0' || flag == '1';
  if (!isObservation) {
    SkipRecords(line, count, flag == '6');
    return true;
  }
  epoch.time = ParseTime(line);
  epoch.flag = flag - '0';
  long double clk;
  FieldState cf = FixedField(line, r2 ? 68 : 41, r2 ? 12 : 15, clk);
  if (cf == FieldState::kMalformed) Fail("BAD RECEIVER CLOCK OFFSET");
  epoch.hasClock = cf == FieldState::kNumber;
  epoch.clock = epoch.hasClock ? clk : 0.0L;
  if (r2) ReadSatellites2(line, count, ids_);
  const size_t lines2 = (header_.TypesOf(' ').size() + 4) / 5;
  // The satellite records of the previous epoch are filled again: their value lists
  // keep their memory.
  size_t used = 0;
  std::string& text = text_;
  for (long i = 0; i < count; ++i) {
    std::string id;
    if (r2) {
      id = ids_[i];
      text.clear();
      for (size_t k = 0; k < lines2; ++k) {
        NextRecordLine(part_);
        part_.resize(80, ' ');
        text += part_;
      }
    } else {
      NextRecordLine(text);
      if (text[0] == '>') Fail("FEWER SATELLITE LINES THAN THE EPOCH LINE ANNOUNCES");
      id = Padded(text, 0, 3);
    }
    const short sat = SatNumber(id);
    if (sat == 0) continue;
    if (Repeated(epoch, used, sat, id)) continue;
    if (!r2 && header_.TypesOf(id[0]).empty()) continue;  // no types for this system
    if (used == epoch.sats.size()) epoch.sats.emplace_back();
    SatObs& so = epoch.sats[used];
    so.sat = sat;
    ReadValues(so, id[0], text, r2 ? 0 : 3, r2);
    ++used;
  }
  epoch.sats.resize(used);
  return true;
}

// A satellite listed twice in one epoch would give two differences of one
// satellite at one epoch: only its first record counts.
bool RinexReader::Repeated(const RinexEpoch& epoch, size_t count, short sat,
                           const std::string& id) {
  for (size_t k = 0; k < count; ++k)
    if (epoch.sats[k].sat == sat) {
      if (skippedRepeated_++ == 0)
        SdWarning("FILE " + Name() + " LISTS SATELLITE " + id + " TWICE IN ONE EPOCH (LINE " +
                  std::to_string(in_->LineNumber()) +
                  "); ONLY THE FIRST RECORD OF A SATELLITE IN AN EPOCH IS USED");
      return true;
    }
  return false;
}

bool RinexReader::NextEpoch(RinexEpoch& epoch) {
  for (;;) {
    bool obs = false;
    if (!ReadRecord(epoch, obs)) return false;
    if (!obs) continue;
    if (haveLast_ && epoch.time - last_ <= 1e-7L) {
      ++skippedOrder_;
      continue;
    }
    std::string& next = peek_;
    if (!in_->Next(next)) {
      if (in_->Truncated()) {
        // The last line was cut off: its values cannot be trusted.
        ++skippedTruncated_;
        SdWarning("FILE " + Name() + " ENDS IN THE MIDDLE OF A LINE; ITS LAST EPOCH IS DROPPED");
        return false;
      }
    } else {
      in_->Unread(next);
    }
    haveLast_ = true;
    last_ = epoch.time;
    return true;
  }
}
