#include "sdiff/CrinexDecoder.h"

#include <algorithm>

#include "core/TextFields.h"
#include "sdiff/Report.h"

using textfield::LabelAt;

namespace {

void RightTrim(std::string& s) {
  size_t e = s.find_last_not_of(' ');
  s.erase(e == std::string::npos ? 0 : e + 1);
}

// A signed decimal integer filling the whole text; false otherwise.
bool ParseInt(const std::string& s, size_t from, size_t to, int64_t& v) {
  size_t i = from;
  bool neg = false;
  if (i < to && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
  if (i == to || to - i > 18) return false;
  int64_t x = 0;
  for (; i < to; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    x = x * 10 + (s[i] - '0');
  }
  v = neg ? -x : x;
  return true;
}

// A satellite of an epoch line: a system letter (or a blank) and a two-digit number.
// Every satellite keeps its arcs for the rest of the file, so arbitrary texts must
// not pass as satellites.
bool IsSatelliteId(const std::string& id) {
  const bool letter = id[0] == ' ' || (id[0] >= 'A' && id[0] <= 'Z');
  const bool tens = id[1] == ' ' || (id[1] >= '0' && id[1] <= '9');
  return letter && tens && id[2] >= '0' && id[2] <= '9';
}

// A count field of an epoch line (blank-padded integer).
bool ParseCount(const std::string& field, long& n) {
  size_t b = field.find_first_not_of(' ');
  if (b == std::string::npos) return false;
  int64_t v;
  if (!ParseInt(field, b, field.size(), v) || v < 0) return false;
  n = static_cast<long>(v);
  return true;
}

}  // namespace

CrinexDecoder::CrinexDecoder(std::unique_ptr<LineSource> in)
    : LineSource(in->Name()), in_(std::move(in)) {
  std::fill(std::begin(typeCount3_), std::end(typeCount3_), -1);
  ReadHeader();
}

void CrinexDecoder::Fail(const std::string& what) const {
  SdError("FILE " + Name() + " IS NOT A VALID COMPACT RINEX FILE (LINE " +
          std::to_string(in_->LineNumber()) + ": " + what + ")!");
}

std::string CrinexDecoder::ApplyDiff(const std::string& old, const std::string& diff) {
  std::string out = old;
  if (diff.size() > out.size()) out.resize(diff.size(), ' ');
  for (size_t i = 0; i < diff.size(); ++i) {
    char c = diff[i];
    if (c == '&')
      out[i] = ' ';
    else if (c != ' ' || i >= old.size())
      out[i] = c;
  }
  return out;
}

std::string CrinexDecoder::FormatFixed(int64_t v, int decimals, int width) {
  uint64_t a = v < 0 ? uint64_t(0) - uint64_t(v) : uint64_t(v);
  char buf[64];  // up to 20 digits, the point, 20 decimals and the sign
  char* const end = buf + sizeof(buf);
  char* p = end;
  for (int i = 0; i < std::min(decimals, 20); ++i, a /= 10) *--p = static_cast<char>('0' + a % 10);
  *--p = '.';
  for (; a != 0; a /= 10) *--p = static_cast<char>('0' + a % 10);  // none for 0
  if (v < 0) *--p = '-';
  const size_t n = static_cast<size_t>(end - p);
  std::string s;
  if (static_cast<int>(n) < width) s.assign(static_cast<size_t>(width) - n, ' ');
  s.append(p, n);
  return s;
}

void CrinexDecoder::UpdateTypeCounts(const std::string& line) {
  if (version_ == 1 && LabelAt(line, 60, "# / TYPES OF OBSERV")) {
    std::string f = line.substr(0, 6);
    long n;
    if (f.find_first_not_of(' ') == std::string::npos) return;  // continuation line
    if (!ParseCount(f, n) || n > 999) Fail("BAD NUMBER OF OBSERVATION TYPES");
    typeCount1_ = static_cast<int>(n);
  } else if (version_ == 3 && LabelAt(line, 60, "SYS / # / OBS TYPES")) {
    unsigned char sys = static_cast<unsigned char>(line[0]);
    if (sys == ' ') return;  // continuation line
    long n;
    if (sys >= 128 || !ParseCount(line.substr(3, 3), n)) Fail("BAD NUMBER OF OBSERVATION TYPES");
    typeCount3_[sys] = static_cast<int>(n);
  }
}

void CrinexDecoder::ReadHeader() {
  std::string line;
  if (!in_->Next(line) || !LabelAt(line, 60, "CRINEX VERS   / TYPE")) Fail("NO CRINEX HEADER");
  if (line[0] == '1')
    version_ = 1;
  else if (line[0] == '3')
    version_ = 3;
  else
    Fail("UNSUPPORTED CRINEX VERSION");
  if (!in_->Next(line) || !LabelAt(line, 60, "CRINEX PROG / DATE")) Fail("NO CRINEX HEADER");
  for (;;) {
    if (!in_->Next(line)) Fail("NO END OF HEADER");
    out_.push_back(line);
    UpdateTypeCounts(line);
    if (LabelAt(line, 60, "END OF HEADER")) break;
  }
  if (version_ == 1 && typeCount1_ < 0) Fail("NO OBSERVATION TYPES IN THE HEADER");
}

bool CrinexDecoder::NextRaw(std::string& line) {
  while (out_.empty())
    if (!DecodeBlock()) return false;
  line.swap(out_.front());
  out_.pop_front();
  return true;
}

std::string CrinexDecoder::NextBodyLine(const char* what) {
  std::string line;
  if (!in_->Next(line)) Fail(std::string("FILE ENDS INSIDE AN EPOCH (") + what + ")");
  return line;
}

void CrinexDecoder::CopyEvent(const std::string& epoch, long count) {
  std::string e = epoch;
  RightTrim(e);
  out_.push_back(std::move(e));
  for (long i = 0; i < count; ++i) {
    std::string rec = NextBodyLine("SPECIAL RECORDS");
    UpdateTypeCounts(rec);
    out_.push_back(rec);
  }
}

bool CrinexDecoder::ApplyToken(const std::string& token, Arc& arc, int64_t& value) const {
  if (token.empty()) {
    arc.open = false;
    return false;
  }
  size_t amp = token.find('&');
  if (amp != std::string::npos) {
    int64_t k, v;
    if (!ParseInt(token, 0, amp, k) || k < 0 || k > 20 ||
        !ParseInt(token, amp + 1, token.size(), v))
      Fail("BAD NUMERIC FIELD '" + token + "'");
    arc.open = true;
    arc.order = static_cast<int>(k);
    arc.m = 0;
    arc.d.assign(arc.order + 1, 0);
    arc.d[0] = v;
  } else {
    int64_t dv;
    if (!ParseInt(token, 0, token.size(), dv)) Fail("BAD NUMERIC FIELD '" + token + "'");
    if (!arc.open) Fail("DIFFERENCE WITHOUT AN OPEN ARC");
    int L = std::min(arc.m + 1, arc.order);
    arc.d[L] = dv;
    for (int j = L - 1; j >= 0; --j) arc.d[j] += arc.d[j + 1];
    arc.m = L;
  }
  value = arc.d[0];
  return true;
}

int CrinexDecoder::TypeCount(const std::string& sat) const {
  if (version_ == 1) return typeCount1_;
  unsigned char sys = static_cast<unsigned char>(sat[0]);
  int n = sys < 128 ? typeCount3_[sys] : -1;
  if (n < 0) Fail("SATELLITE " + sat + " OF A SYSTEM WITHOUT OBSERVATION TYPES");
  return n;
}

void CrinexDecoder::DecodeSatellite(const std::string& sat, const std::string& line, bool fresh,
                                    std::vector<std::string>& fields) {
  const int n = TypeCount(sat);
  SatState& st = sats_[sat];
  if (static_cast<int>(st.arcs.size()) < n) st.arcs.resize(n);
  if (fresh) st.flags.clear();
  fields.resize(n);
  std::vector<char>& present = present_;
  std::vector<int64_t>& values = values_;
  present.assign(n, 0);
  values.assign(n, 0);
  size_t pos = 0;
  for (int f = 0; f < n; ++f) {
    std::string token;
    if (pos < line.size()) {
      size_t end = line.find(' ', pos);
      if (end == std::string::npos) end = line.size();
      token = line.substr(pos, end - pos);
      pos = end + 1;
    }
    int64_t v = 0;
    present[f] = ApplyToken(token, st.arcs[f], v);
    values[f] = v;
  }
  if (pos < line.size()) st.flags = ApplyDiff(st.flags, line.substr(pos));
  st.flags.resize(2 * n, ' ');
  for (int f = 0; f < n; ++f) {
    if (!present[f] && version_ == 1) {
      // CRINEX 1 clears the flags of a missing value.
      st.flags[2 * f] = st.flags[2 * f + 1] = ' ';
    }
    std::string& field = fields[f];
    if (present[f])
      field = FormatFixed(values[f], 3, 14);
    else
      field.assign(14, ' ');
    field.append(st.flags, 2 * f, 2);
    // A value wider than its field would shift, and so falsify, every later field.
    if (field.size() > 16) Fail("VALUE OF SATELLITE " + sat + " TOO LARGE FOR ITS FIELD");
  }
}

void CrinexDecoder::WriteEpoch(const std::string& epoch, const std::vector<std::string>& sats,
                               bool hasClock, int64_t clock) {
  std::string e = epoch;
  if (version_ == 1) {
    e.resize(32, ' ');
    for (size_t i = 0; i < sats.size() && i < 12; ++i) e += sats[i];
    if (hasClock) {
      e.resize(std::max<size_t>(e.size(), 68), ' ');
      e += FormatFixed(clock, 9, 12);
    }
    out_.push_back(e);
    for (size_t i = 12; i < sats.size(); i += 12) {
      std::string c(32, ' ');
      for (size_t j = i; j < sats.size() && j < i + 12; ++j) c += sats[j];
      out_.push_back(c);
    }
    return;
  }
  e.resize(35, ' ');
  bool ext = extension_.find_first_not_of(' ') != std::string::npos;
  if (hasClock || ext) {
    e.resize(41, ' ');
    e += hasClock ? FormatFixed(clock, 12, 15) : std::string(15, ' ');
  }
  if (ext) e += ' ' + extension_;
  RightTrim(e);
  out_.push_back(std::move(e));
}

bool CrinexDecoder::DecodeBlock() {
  std::string line;
  if (!in_->Next(line)) return false;
  const bool complete = !line.empty() && line[0] == (version_ == 1 ? '&' : '>');
  if (complete) {
    if (version_ == 1) line[0] = ' ';
    prevEpoch_ = line;
    prevSats_.clear();  // every satellite starts again from empty flags
  } else {
    if (!havePrev_) Fail("FIRST EPOCH LINE IS NOT COMPLETE");
    prevEpoch_ = ApplyDiff(prevEpoch_, line);
  }
  havePrev_ = true;
  const std::string& epoch = prevEpoch_;
  const size_t flagCol = version_ == 1 ? 28 : 31;
  std::string padded = epoch;
  if (padded.size() < flagCol + 4) padded.resize(flagCol + 4, ' ');
  const char flag = padded[flagCol];
  long count;
  if (!ParseCount(padded.substr(flagCol + 1, 3), count)) Fail("BAD SATELLITE COUNT");
  if (flag >= '2' && flag <= '5') {
    CopyEvent(epoch, count);
    return true;
  }
  if (flag != '0' && flag != '1' && flag != '6' && flag != ' ') Fail("BAD EPOCH FLAG");

  const size_t first = version_ == 1 ? 32 : 41;
  padded.resize(std::max(padded.size(), first + 3 * count), ' ');
  std::vector<std::string> sats(count);
  for (long i = 0; i < count; ++i) {
    sats[i] = padded.substr(first + 3 * i, 3);
    if (!IsSatelliteId(sats[i])) Fail("BAD SATELLITE '" + sats[i] + "'");
  }

  std::string clockLine = NextBodyLine("CLOCK LINE");
  RightTrim(clockLine);
  size_t blank = clockLine.find(' ');
  std::string token = clockLine.substr(0, blank);
  int64_t clock = 0;
  bool hasClock = ApplyToken(token, clock_, clock);
  if (version_ == 3 && blank != std::string::npos)
    extension_ = ApplyDiff(extension_, clockLine.substr(blank + 1));
  WriteEpoch(epoch.substr(0, std::min(epoch.size(), first)), sats, hasClock, clock);

  std::vector<std::string> fields;
  std::unordered_set<std::string> current;
  for (const std::string& sat : sats) {
    std::string data = NextBodyLine("DATA LINES");
    DecodeSatellite(sat, data, prevSats_.count(sat) == 0, fields);
    current.insert(sat);
    if (version_ == 1) {
      for (size_t f = 0; f < fields.size(); f += 5) {
        std::string o;
        for (size_t j = f; j < fields.size() && j < f + 5; ++j) o += fields[j];
        RightTrim(o);
        out_.push_back(std::move(o));
      }
    } else {
      std::string o = sat;
      for (const std::string& fl : fields) o += fl;
      RightTrim(o);
      out_.push_back(std::move(o));
    }
  }
  prevSats_.swap(current);
  return true;
}
