// Where the two standard streams of the program end up, so that an error printed in
// the report (standard output) can be repeated on standard error when the user would
// not see it otherwise (report sent to a file, errors to the terminal, or the other
// way round), and is not shown twice when both streams reach one terminal or file.
#ifndef TERVAN_CORE_STANDARDSTREAMS_H
#define TERVAN_CORE_STANDARDSTREAMS_H

#include <string>

class StandardStreams {
 public:
  // std::cout (or std::cerr) now writes into the named file instead of its descriptor.
  static void SetCoutFile(const std::string& name);
  static void SetCerrFile(const std::string& name);
  // Both streams back on their descriptors 1 and 2.
  static void Reset();

  // True when both streams reach one file, pipe or terminal (same device and inode).
  // A stream whose destination can not be examined counts as unseen: standard output
  // then needs the copy, standard error can not take it.
  static bool ShareTarget();

  // Writes text to standard error as well when the streams do not share their target.
  static void EchoToCerr(const std::string& text);
};

#endif
