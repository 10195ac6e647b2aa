#include "tools/sdiff/TestHelpers.h"

#include <map>
#include <sstream>
#include <vector>

namespace sdtest {

namespace {

class BitWriter {
 public:
  void Put(uint32_t code, int width) {
    acc_ |= uint64_t(code) << nbits_;
    nbits_ += width;
    while (nbits_ >= 8) {
      out_ += static_cast<char>(acc_ & 0xff);
      acc_ >>= 8;
      nbits_ -= 8;
    }
    ++inGroup_;
  }
  // Fills the current group of 8 codes of the given width with zero bits.
  void PadGroup(int width) {
    while (inGroup_ % 8 != 0) Put(0, width);
    inGroup_ = 0;
  }
  std::string Finish() {
    if (nbits_ > 0) out_ += static_cast<char>(acc_ & 0xff);
    return out_;
  }

 private:
  std::string out_;
  uint64_t acc_ = 0;
  int nbits_ = 0;
  long inGroup_ = 0;
};

}  // namespace

std::string Compress(const std::string& bytes, long clearAfter, bool blockMode) {
  const int maxbits = 16;
  std::string header = blockMode ? "\x1f\x9d\x90" : "\x1f\x9d\x10";
  BitWriter bw;
  std::map<std::pair<int, unsigned char>, int> table;
  int width = 9, next = blockMode ? 257 : 256;
  long emitted = 0;
  if (bytes.empty()) return header;
  int s = static_cast<unsigned char>(bytes[0]);
  for (size_t i = 1; i < bytes.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    auto it = table.find({s, b});
    if (it != table.end()) {
      s = it->second;
      continue;
    }
    bw.Put(s, width);
    ++emitted;
    if (next > (1 << width) - 1 && width < maxbits) {
      bw.PadGroup(width);
      ++width;
    }
    if (next < (1 << maxbits)) table[{s, b}] = next++;
    s = b;
    if (blockMode && clearAfter > 0 && emitted % clearAfter == 0) {
      bw.Put(256, width);
      bw.PadGroup(width);
      width = 9;
      next = 257;
      table.clear();
    }
  }
  bw.Put(s, width);
  return header + bw.Finish();
}

namespace {

std::string Col(const std::string& line, size_t from, size_t len) {
  std::string s = from < line.size() ? line.substr(from, len) : "";
  s.resize(len, ' ');
  return s;
}

// "3&" and the digits of a fixed-point text without its point; empty when blank.
std::string Token(const std::string& field) {
  std::string digits;
  for (char c : field)
    if (c != ' ' && c != '.') digits += c;
  if (digits.empty()) return "";
  return "3&" + std::to_string(std::stoll(digits));
}

// Fields (16 columns each from `first`) as tokens and flags of a data line.
std::string DataLine(const std::string& text, size_t first, int n) {
  std::string tokens, flags;
  for (int j = 0; j < n; ++j) {
    if (j > 0) tokens += ' ';
    tokens += Token(Col(text, first + 16 * j, 14));
    flags += Col(text, first + 16 * j + 14, 2);
  }
  return tokens + ' ' + flags;
}

}  // namespace

std::string Hatanaka(const std::string& rinex) {
  std::istringstream in(rinex);
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  const bool r2 = lines[0][5] == '2';
  std::string out =
      std::string(r2 ? "1.0" : "3.0") + std::string(17, ' ') +
      "COMPACT RINEX FORMAT                    CRINEX VERS   / TYPE\n" +
      "RNX2CRX ver.4.0.7                       01-Jan-24 00:00     CRINEX PROG / DATE\n";
  std::map<char, int> ntypes;
  size_t i = 0;
  for (; i < lines.size(); ++i) {
    const std::string& l = lines[i];
    out += l + "\n";
    if (l.find("# / TYPES OF OBSERV") == 60 && l[5] != ' ') ntypes[' '] = std::stoi(l.substr(0, 6));
    if (l.find("SYS / # / OBS TYPES") == 60 && l[0] != ' ')
      ntypes[l[0]] = std::stoi(l.substr(3, 3));
    if (l.find("END OF HEADER") == 60) break;
  }
  for (++i; i < lines.size();) {
    const std::string e = lines[i++];
    const int count = std::stoi(Col(e, r2 ? 29 : 32, 3));
    std::vector<std::string> sats, text;
    if (r2) {
      for (int k = 0; k < count; ++k) {
        if (k > 0 && k % 12 == 0) ++i;
        sats.push_back(Col(k < 12 ? e : lines[i - 1], 32 + 3 * (k % 12), 3));
      }
      const int per = (ntypes[' '] + 4) / 5;
      for (int k = 0; k < count; ++k) {
        std::string t;
        for (int m = 0; m < per; ++m) t += Col(lines[i++], 0, 80);
        text.push_back(t);
      }
      out += "&" + Col(e, 1, 31);
    } else {
      for (int k = 0; k < count; ++k) {
        text.push_back(lines[i++]);
        sats.push_back(Col(text.back(), 0, 3));
      }
      out += Col(e, 0, 35) + "      ";
    }
    for (const std::string& s : sats) out += s;
    out += "\n" + Token(Col(e, r2 ? 68 : 41, r2 ? 12 : 15)) + "\n";
    for (int k = 0; k < count; ++k)
      out += r2 ? DataLine(text[k], 0, ntypes[' ']) + "\n"
                : DataLine(text[k], 3, ntypes[sats[k][0]]) + "\n";
  }
  return out;
}

}  // namespace sdtest
