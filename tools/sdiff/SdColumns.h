// Fixed-column access to the lines of RINEX files: fields beyond the end of a line
// are blank, blank numeric fields are missing, anything else that is not a number
// is reported by the caller as bad input.
#ifndef TERVAN_TOOLS_SDIFF_SDCOLUMNS_H
#define TERVAN_TOOLS_SDIFF_SDCOLUMNS_H

#include <string>

// Columns [from, from + len) of a line (0-based), padded with blanks.
std::string SdColumn(const std::string& line, size_t from, size_t len);

// The text without leading and trailing blanks.
std::string SdTrim(const std::string& s);

// The header label of a line (columns 61 on) without trailing blanks.
std::string SdLabel(const std::string& line);

// True when the header label of a line begins with `label`.
bool SdHasLabel(const std::string& line, const char* label);

enum class SdField { kBlank, kNumber, kBad };

// A decimal number in columns [from, from + len): blank, a number (with at most one
// decimal point, optionally signed), or bad.
SdField SdParseNumber(const std::string& line, size_t from, size_t len, long double& value);

// A blank-padded integer in columns [from, from + len); false when blank or bad.
bool SdParseInt(const std::string& line, size_t from, size_t len, long& value);

#endif
