#include "core/ProgramError.h"

#include <cstdlib>
#include <iostream>

#include "core/StandardStreams.h"

namespace {

ErrorExitHandler errorExitHandler = nullptr;

}  // namespace

std::string FramedText(const FramedMessage& m) {
  std::string s = m.blankBefore ? "\n" : "";
  s += std::string(m.mark) + ' ' + m.who + ": " + m.kind + " -> " + m.text + ' ' + m.mark + '\n';
  s += "     " + std::string(m.closing) + m.who + " ... " + '\n';
  if (m.blankAfter) s += '\n';
  return s;
}

void WriteFramed(std::ostream& os, const FramedMessage& m) {
  os << FramedText(m);
  os.flush();
}

void WriteErrorCout(const std::string& text) {
  std::cout << text;
  std::cout.flush();
  StandardStreams::EchoToCerr(text);
}

void SetErrorExitHandler(ErrorExitHandler handler) {
  errorExitHandler = handler;
}

void ExitWithError() {
  std::cout.flush();
  std::cerr.flush();
  if (errorExitHandler) errorExitHandler();
  std::exit(1);
}

void ProgramError(const std::string& prog, const std::string& error) {
  WriteFramed(std::cerr, {"****", prog, "Error", error, "Exiting ", true, true});
  ExitWithError();
}

void ProgramErrorCout(const std::string& prog, const std::string& error) {
  WriteErrorCout(FramedText({"****", prog, "Error", error, "Exiting ", true, true}));
  ExitWithError();
}

void ProgramWarning(const std::string& prog, const std::string& warn) {
  WriteFramed(std::cerr, {"####", prog, "Warning", warn, "Continuing ", true, true});
}

void ProgramWarningCout(const std::string& prog, const std::string& warn) {
  WriteFramed(std::cout, {"####", prog, "Warning", warn, "Continuing ", true, true});
}

void ClassError(const std::string& cls, const std::string& text) {
  WriteErrorCout(FramedText({"****", cls, "Error", text, "Exiting class ", true, false}));
  ExitWithError();
}

void FileError(const std::string& cls, const std::string& text, const char* mark) {
  WriteErrorCout(FramedText({mark, cls, "Error", text, "Exiting ", true, false}));
  ExitWithError();
}

void ClassWarning(const std::string& cls, const std::string& text, bool blankBefore) {
  WriteFramed(std::cout, {"####", cls, "Warning", text, "Continuing ", blankBefore, false});
}
