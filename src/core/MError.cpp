#include "core/MError.h"

#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>

#include "core/ProgramError.h"

namespace {

const char* const kStars = "************************************************************";

// Errors are collected and printed at their end, so that the whole block can be
// repeated on standard error; warnings go straight to standard output.
std::ostringstream banner;
std::ostream* out = &std::cout;

std::ostream& Out() {
  return *out;
}

bool IsError(const char* kind) {
  return std::string(kind).find("ERROR") != std::string::npos;
}

void Begin(const char* kind, const char* message) {
  out = &std::cout;
  if (IsError(kind)) {
    banner.str("");
    banner.copyfmt(std::cout);
    out = &banner;
  }
  Out() << '\n' << kStars << '\n' << kind << '\n' << '\t' << message;
}

[[noreturn]] void ErrorEnd() {
  Out() << kStars << '\n'
        << "Exiting program..."
        << "\n\n";
  WriteErrorCout(banner.str());
  ExitWithError();
}

void WarningEnd() {
  std::cout.flush();
}

std::ostream& N(long value) {
  return Out() << std::right << std::setw(5) << value;
}

}  // namespace

namespace MError {

void IndexError(const char* message, long index, long last) {
  IndexError("MATRIX::ERROR:", message, index, last);
}

void IndexError(const char* heading, const char* message, long index, long last) {
  Begin(heading, message);
  N(index) << " -> [";
  N(0) << ",";
  N(last) << "]\n\n";
  ErrorEnd();
}

void DimError(const char* message, long r1, long c1, long r2, long c2) {
  Begin("MATRIX::ERROR:", message);
  Out() << "  [";
  N(r1) << ",";
  N(c1) << "] -> [";
  N(r2) << ",";
  N(c2) << "]\n\n";
  ErrorEnd();
}

void SizeError(const char* message, long rows, long cols) {
  SizeError("MATRIX::ERROR:", message, {rows, cols});
}

void SizeError(const char* heading, const char* message, std::initializer_list<long> dims) {
  Begin(heading, message);
  const char* separator = " [";
  for (long n : dims) {
    Out() << separator;
    N(n);
    separator = ",";
  }
  Out() << "]\n\n";
  ErrorEnd();
}

void CountError(const char* message, long rows, long cols, long n) {
  Begin("MATRIX::ERROR:", message);
  Out() << " [";
  N(rows) << ",";
  N(cols) << "] -> n = ";
  N(n) << "\n\n";
  ErrorEnd();
}

void SingularWarning(const char* message, long double value, long index) {
  Begin("MATRIX::WARNING:", message);
  Out() << std::setw(10) << value << " 10**-15 ";
  N(index) << "\n\n";
  Out() << kStars << '\n';
  WarningEnd();
}

void NormWarning(const char* message) {
  Begin("MATRIX::WARNING:", message);
  Out() << "\n\n"
        << kStars << '\n'
        << "Continuing program..."
        << "\n\n";
  WarningEnd();
}

}  // namespace MError
