// Runs one input of a fuzz target (or of a regression replay) through program code
// that ends bad input with a framed error: the error's exit is turned into an
// exception that the harness catches, so one process can take many inputs, and the
// standard streams are silenced meanwhile.
#ifndef TERVAN_FUZZ_FUZZHARNESS_H
#define TERVAN_FUZZ_FUZZHARNESS_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class FuzzHarness {
 public:
  // Thrown in place of the exit of a framed error.
  struct FramedExit {};

  // Writes the input to this process's scratch file with the given ending (the
  // readers take file names) and returns the file's name.
  static std::string WriteInput(const uint8_t* data, size_t size, const std::string& ending);

  // Runs body with both standard streams discarded; true when it ended with a framed
  // error, false when it returned normally.
  static bool Run(const std::function<void()>& body);
};

#endif
