#include "sdiff/TextLines.h"

#include <cstring>

#include "sdiff/Report.h"

TextLines::TextLines(std::unique_ptr<ByteSource> in)
    : LineSource(in->Name()), in_(std::move(in)), buf_(1 << 16) {}

bool TextLines::NextRaw(std::string& line) {
  line.clear();
  for (;;) {
    if (pos_ == len_) {
      if (eof_) break;
      len_ = in_->Read(buf_.data(), buf_.size());
      pos_ = 0;
      if (len_ == 0) {
        eof_ = true;
        break;
      }
    }
    const char* start = buf_.data() + pos_;
    const char* nl = static_cast<const char*>(std::memchr(start, '\n', len_ - pos_));
    size_t k = nl ? static_cast<size_t>(nl - start) : len_ - pos_;
    line.append(start, k);
    pos_ += k;
    if (line.size() > kMaxLine) SdError("FILE " + Name() + " IS NOT A TEXT FILE (LINE TOO LONG)!");
    if (nl) {
      ++pos_;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return true;
    }
  }
  if (line.empty()) return false;
  endedWithNewline_ = false;
  if (line.back() == '\r') line.pop_back();
  return true;
}
