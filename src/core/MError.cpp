#include "core/MError.h"

#include <cstdlib>
#include <iomanip>
#include <iostream>

namespace {

const char* const kStars = "************************************************************";

void Begin(const char* kind, const char* message) {
  std::cout << '\n' << kStars << '\n' << kind << '\n' << '\t' << message;
}

[[noreturn]] void ErrorEnd() {
  std::cout << kStars << '\n'
            << "Exiting program..."
            << "\n\n";
  std::cout.flush();
  std::cerr.flush();
  std::exit(1);
}

std::ostream& N(long value) {
  return std::cout << std::right << std::setw(5) << value;
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
  std::cout << "  [";
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
    std::cout << separator;
    N(n);
    separator = ",";
  }
  std::cout << "]\n\n";
  ErrorEnd();
}

void CountError(const char* message, long rows, long cols, long n) {
  Begin("MATRIX::ERROR:", message);
  std::cout << " [";
  N(rows) << ",";
  N(cols) << "] -> n = ";
  N(n) << "\n\n";
  ErrorEnd();
}

void SingularWarning(const char* message, long double value, long index) {
  Begin("MATRIX::WARNING:", message);
  std::cout << std::setw(10) << value << " 10**-15 ";
  N(index) << "\n\n";
  std::cout << kStars << '\n';
  std::cout.flush();
}

void NormWarning(const char* message) {
  Begin("MATRIX::WARNING:", message);
  std::cout << "\n\n"
            << kStars << '\n'
            << "Continuing program..."
            << "\n\n";
  std::cout.flush();
}

}  // namespace MError
