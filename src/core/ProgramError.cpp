#include "core/ProgramError.h"

#include <cstdlib>
#include <iostream>

void WriteFramed(std::ostream& os, const FramedMessage& m) {
  if (m.blankBefore) os << '\n';
  os << m.mark << ' ' << m.who << ": " << m.kind << " -> " << m.text << ' ' << m.mark << '\n';
  os << "     " << m.closing << m.who << " ... " << '\n';
  if (m.blankAfter) os << '\n';
  os.flush();
}

void ExitWithError() {
  std::cout.flush();
  std::cerr.flush();
  std::exit(1);
}

void ProgramError(const std::string& prog, const std::string& error) {
  WriteFramed(std::cerr, {"****", prog, "Error", error, "Exiting ", true, true});
  ExitWithError();
}

void ProgramErrorCout(const std::string& prog, const std::string& error) {
  WriteFramed(std::cout, {"****", prog, "Error", error, "Exiting ", true, true});
  ExitWithError();
}

void ProgramWarning(const std::string& prog, const std::string& warn) {
  WriteFramed(std::cerr, {"####", prog, "Warning", warn, "Continuing ", true, true});
}

void ProgramWarningCout(const std::string& prog, const std::string& warn) {
  WriteFramed(std::cout, {"####", prog, "Warning", warn, "Continuing ", true, true});
}

void ClassError(const std::string& cls, const std::string& text) {
  WriteFramed(std::cout, {"****", cls, "Error", text, "Exiting class ", true, false});
  ExitWithError();
}

void FileError(const std::string& cls, const std::string& text, const char* mark) {
  WriteFramed(std::cout, {mark, cls, "Error", text, "Exiting ", true, false});
  ExitWithError();
}

void ClassWarning(const std::string& cls, const std::string& text, bool blankBefore) {
  WriteFramed(std::cout, {"####", cls, "Warning", text, "Continuing ", blankBefore, false});
}
