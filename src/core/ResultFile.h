// A result file written completely or not at all: the text goes to a temporary
// file beside the result ("<name>.part"), which Commit renames to the result's
// name. A file that is never committed (an interrupted run, a failed write) is
// removed again, so no half-written file can be taken for a whole one.
#ifndef TERVAN_CORE_RESULTFILE_H
#define TERVAN_CORE_RESULTFILE_H

#include <fstream>
#include <string>

class ResultFile {
 public:
  // Opens the temporary file; when it cannot be opened a warning names the result
  // file and IsOpen() is false (writing to Stream() then has no effect).
  explicit ResultFile(const std::string& name);
  ~ResultFile();
  ResultFile(const ResultFile&) = delete;
  ResultFile& operator=(const ResultFile&) = delete;

  bool IsOpen() const { return open_; }
  std::ostream& Stream() { return out_; }
  // Closes the temporary file and gives it the result's name (replacing an older
  // result). Returns false, with a warning, when writing or renaming failed.
  bool Commit();

 private:
  std::string name_;
  std::string temp_;
  std::ofstream out_;
  bool open_ = false;
  bool committed_ = false;
};

#endif
