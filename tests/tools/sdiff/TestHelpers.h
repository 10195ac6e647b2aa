// Small helpers shared by the tests of the tervan-sdiff tool.
#ifndef TERVAN_TESTS_TOOLS_SDIFF_TESTHELPERS_H
#define TERVAN_TESTS_TOOLS_SDIFF_TESTHELPERS_H

#include <zlib.h>

#include <memory>
#include <string>

#include "sdiff/ByteSource.h"
#include "sdiff/LineSource.h"
#include "support/TestSupport.h"

namespace sdtest {

// Bytes held in memory, handed out in pieces of at most `chunk` bytes.
class MemorySource : public ByteSource {
 public:
  MemorySource(std::string bytes, size_t chunk = 1 << 20)
      : ByteSource("memory"), bytes_(std::move(bytes)), chunk_(chunk) {}

 protected:
  size_t ReadRaw(char* buf, size_t n) override {
    size_t k = std::min({n, chunk_, bytes_.size() - pos_});
    bytes_.copy(buf, k, pos_);
    pos_ += k;
    return k;
  }

 private:
  std::string bytes_;
  size_t chunk_;
  size_t pos_ = 0;
};

// Every byte of a source.
inline std::string ReadAll(ByteSource& src) {
  std::string out;
  char buf[4096];
  for (size_t k; (k = src.Read(buf, sizeof buf)) > 0;) out.append(buf, k);
  return out;
}

// Every line of a source, each followed by a line feed.
inline std::string ReadAllLines(LineSource& src) {
  std::string out, line;
  while (src.Next(line)) out += line + '\n';
  return out;
}

// One gzip member holding the bytes.
inline std::string Gzip(const std::string& bytes) {
  z_stream zs{};
  deflateInit2(&zs, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&zs, bytes.size()) + 64, '\0');
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  zs.avail_in = static_cast<uInt>(bytes.size());
  zs.next_out = reinterpret_cast<Bytef*>(&out[0]);
  zs.avail_out = static_cast<uInt>(out.size());
  deflate(&zs, Z_FINISH);
  out.resize(zs.total_out);
  deflateEnd(&zs);
  return out;
}

// Unix compress stream (16 bits, block mode) of the bytes; with clearAfter > 0 a CLEAR
// code follows every clearAfter emitted codes. Without block mode there is no CLEAR
// code and the first free code is 256.
std::string Compress(const std::string& bytes, long clearAfter = 0, bool blockMode = true);

// Compact RINEX of a RINEX 2 or 3 observation text without event records, every epoch
// written as a complete epoch line with restarted arcs (a form the format allows).
std::string Hatanaka(const std::string& rinex);

// The framed error line of the tool, for death tests.
inline std::string ToolError(const std::string& text) {
  return testsupport::Literal("**** tervan-sdiff: Error -> " + text + " ****");
}

}  // namespace sdtest

#endif
