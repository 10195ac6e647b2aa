#include "tools/sdiff/SdTestHelpers.h"

#include <map>

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

std::string Compress(const std::string& bytes, long clearAfter) {
  const int maxbits = 16;
  std::string header = "\x1f\x9d\x90";
  BitWriter bw;
  std::map<std::pair<int, unsigned char>, int> table;
  int width = 9, next = 257;
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
    if (clearAfter > 0 && emitted % clearAfter == 0) {
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

}  // namespace sdtest
