// Error and warning banners of the matrix library. Every message goes to standard
// output framed by lines of 60 asterisks; errors end the program with exit status 1.
#ifndef TERVAN_CORE_MERROR_H
#define TERVAN_CORE_MERROR_H

#include <initializer_list>

namespace MError {

// "<message><index> -> [    0,<last>]" (one index out of its valid range).
[[noreturn]] void IndexError(const char* message, long index, long last);
// The same report under the heading of another container (for example "TEC::ERROR:").
[[noreturn]] void IndexError(const char* heading, const char* message, long index, long last);

// "<message>  [<r1>,<c1>] -> [<r2>,<c2>]" (two matrices whose sizes do not fit).
[[noreturn]] void DimError(const char* message, long r1, long c1, long r2, long c2);

// "<message> [<rows>,<cols>]" (a matrix of the wrong or an undefined size).
[[noreturn]] void SizeError(const char* message, long rows, long cols);
// "<message> [<n1>,<n2>,...]" under the heading of another container, for containers of any
// number of dimensions.
[[noreturn]] void SizeError(const char* heading, const char* message,
                            std::initializer_list<long> dims);

// "<message> [<rows>,<cols>] -> n = <n>" (more elements asked for than a vector has).
[[noreturn]] void CountError(const char* message, long rows, long cols, long n);

// Singular pivot: "<message><value> 10**-15 <index>"; the program continues.
void SingularWarning(const char* message, long double value, long index);

// Norm warnings, followed by "Continuing program...".
void NormWarning(const char* message);

}  // namespace MError

#endif
