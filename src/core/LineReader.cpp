#include "core/LineReader.h"

#include <cstring>

namespace {
constexpr size_t kBlock = 1 << 20;  // bytes read at once
}

LineReader::LineReader(std::istream& is, size_t maxLine)
    : is_(is), buf_(kBlock + maxLine + 1), maxLine_(maxLine) {}

void LineReader::Grow() {
  if (begin_ == 0 && end_ == buf_.size()) buf_.resize(2 * buf_.size());
}

bool LineReader::Fill() {
  if (eof_) return false;
  if (begin_ > 0) {
    std::memmove(buf_.data(), buf_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  size_t room = buf_.size() - end_;
  if (room == 0) return false;
  is_.read(buf_.data() + end_, static_cast<std::streamsize>(room));
  size_t got = static_cast<size_t>(is_.gcount());
  end_ += got;
  if (got < room) eof_ = true;
  return got > 0;
}

bool LineReader::Next(const char*& line, size_t& len) {
  if (skipping_) SkipRestOfLine();
  for (;;) {
    char* start = buf_.data() + begin_;
    size_t avail = end_ - begin_;
    const char* nl = static_cast<const char*>(std::memchr(start, '\n', avail));
    if (nl != nullptr) {
      size_t whole = static_cast<size_t>(nl - start);
      Hand(start, maxLine_ == kWholeLines || whole < maxLine_ ? whole : maxLine_, whole + 1, line,
           len);
      return true;
    }
    if (maxLine_ != kWholeLines && avail >= maxLine_) {
      // An over-long line: its beginning now, its rest skipped on the next call.
      Hand(start, maxLine_, avail, line, len);
      skipping_ = true;
      return true;
    }
    if (eof_) {
      if (avail == 0) return false;
      Hand(start, avail, avail, line, len);
      return true;
    }
    Grow();
    Fill();
  }
}

void LineReader::Hand(const char* start, size_t take, size_t used, const char*& line, size_t& len) {
  line = start;
  len = take;
  if (len > 0 && line[len - 1] == '\r') --len;
  begin_ += used;
  consumed_ += static_cast<std::streamoff>(used);
  ++lineNo_;
}

void LineReader::SkipRestOfLine() {
  skipping_ = false;
  for (;;) {
    size_t avail = end_ - begin_;
    const char* start = buf_.data() + begin_;
    const char* nl = static_cast<const char*>(std::memchr(start, '\n', avail));
    size_t used = nl ? static_cast<size_t>(nl - start) + 1 : avail;
    begin_ += used;
    consumed_ += static_cast<std::streamoff>(used);
    if (nl || !Fill()) return;
  }
}
