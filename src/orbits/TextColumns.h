// Fixed-column text fields of the orbit and clock files: cutting a field out of a
// line without running past its end, and converting it to a number (Fortran "D"
// exponents accepted; an empty, malformed or non-finite field reads as 0).
#ifndef TERVAN_ORBITS_TEXTCOLUMNS_H
#define TERVAN_ORBITS_TEXTCOLUMNS_H

#include <string>

namespace textcol {

// Characters [pos, pos + len) of line (0-based); shorter or empty past the end.
std::string Cut(const std::string& line, size_t pos, size_t len = std::string::npos);

// Number at the start of the text (leading blanks skipped); 0 when there is none.
long double Real(const std::string& text);
long Int(const std::string& text);

// Whether the text holds a number at its start (after blanks).
bool HasInt(const std::string& text);

// Reads the next line, without a trailing carriage return; false at the end.
bool GetLine(std::istream& in, std::string& line);

}  // namespace textcol

#endif
