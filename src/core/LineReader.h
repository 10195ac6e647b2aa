// Line-by-line reading of a text stream through one large block buffer, without
// an allocation per line. Lines are handed out as pointer and length, without
// their line end ("\n" or "\r\n"); a line is valid until the next call.
#ifndef TERVAN_CORE_LINEREADER_H
#define TERVAN_CORE_LINEREADER_H

#include <cstddef>
#include <istream>
#include <vector>

class LineReader {
 public:
  // Lines longer than maxLine characters are cut to maxLine; the rest of such a
  // line is skipped. With kWholeLines no line is cut: the buffer grows to hold
  // the longest line.
  explicit LineReader(std::istream& is, size_t maxLine = 1 << 16);
  static constexpr size_t kWholeLines = 0;

  // The next line; false at the end of the input.
  bool Next(const char*& line, size_t& len);

  // Number of lines handed out so far (the number of the last line, from 1).
  long LineNumber() const { return lineNo_; }

  // Bytes of the stream consumed by the lines handed out so far.
  std::streamoff Consumed() const { return consumed_; }

 private:
  bool Fill();  // reads more input behind the buffered text; false at the end
  void Grow();  // doubles a buffer that one unfinished line fills
  void Hand(const char* start, size_t take, size_t used, const char*& line, size_t& len);
  void SkipRestOfLine();

  std::istream& is_;
  std::vector<char> buf_;
  size_t begin_ = 0;  // first unread byte
  size_t end_ = 0;    // end of the buffered bytes
  size_t maxLine_;    // kWholeLines: lines are never cut
  bool eof_ = false;
  bool skipping_ = false;  // the rest of an over-long line is still to be skipped
  long lineNo_ = 0;
  std::streamoff consumed_ = 0;
};

#endif
