// A sequential source of text lines (without their line end), with one line of look-ahead.
#ifndef TERVAN_TOOLS_SDIFF_LINESOURCE_H
#define TERVAN_TOOLS_SDIFF_LINESOURCE_H

#include <string>

class LineSource {
 public:
  explicit LineSource(std::string name) : name_(std::move(name)) {}
  virtual ~LineSource() = default;
  LineSource(const LineSource&) = delete;
  LineSource& operator=(const LineSource&) = delete;

  // The next line into line; false at the end of the text.
  bool Next(std::string& line);
  // Hands a line back: the next call of Next returns it again.
  void Unread(const std::string& line);
  // Name of the input file, for messages.
  const std::string& Name() const { return name_; }
  // Number of lines returned so far (hand-backs excluded).
  long LineNumber() const { return lineNumber_; }
  // True when the text ended in the middle of a line (a cut-off file).
  virtual bool Truncated() const { return false; }

 protected:
  virtual bool NextRaw(std::string& line) = 0;

 private:
  std::string name_;
  std::string pending_;
  bool hasPending_ = false;
  long lineNumber_ = 0;
};

#endif
