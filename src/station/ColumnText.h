// Pieces of the fixed-column text lines of the station model files.
#ifndef TERVAN_STATION_COLUMNTEXT_H
#define TERVAN_STATION_COLUMNTEXT_H

#include <cstddef>
#include <string>

namespace columntext {

// True when the line holds the label anywhere.
bool Contains(const std::string& line, const char* label);

// Columns [col, col + n) of a line, shorter or empty past its end.
std::string Cut(const std::string& line, size_t col, size_t n = std::string::npos);

// The text without leading and trailing blanks, tabs and line ends.
std::string Trimmed(const std::string& s);

// The finite number that begins at column col (leading blanks skipped) and
// runs as far as it forms a number; false when there is none.
bool NumberFrom(const std::string& line, size_t col, long double& v);

}  // namespace columntext

#endif
