// Lines of a text held in a byte source. Line ends may be LF or CR LF; the CR is
// removed. A last line without its line end is still returned (Truncated says
// so: a cut-off download shows this way).
#ifndef TERVAN_TOOLS_SDIFF_TEXTLINES_H
#define TERVAN_TOOLS_SDIFF_TEXTLINES_H

#include <memory>
#include <vector>

#include "sdiff/ByteSource.h"
#include "sdiff/LineSource.h"

class TextLines : public LineSource {
 public:
  // Lines longer than this are not text of an observation file.
  static constexpr size_t kMaxLine = 1 << 16;

  explicit TextLines(std::unique_ptr<ByteSource> in);
  bool Truncated() const override { return !endedWithNewline_; }

 protected:
  bool NextRaw(std::string& line) override;

 private:
  std::unique_ptr<ByteSource> in_;
  std::vector<char> buf_;
  size_t pos_ = 0, len_ = 0;
  bool eof_ = false;
  bool endedWithNewline_ = true;
};

#endif
