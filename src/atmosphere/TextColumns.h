// Fixed-column access to the lines of text files, safe for lines of any length.
#ifndef TERVAN_ATMOSPHERE_TEXTCOLUMNS_H
#define TERVAN_ATMOSPHERE_TEXTCOLUMNS_H

#include <string>

// Characters pos..pos+n-1 of the line (fewer at its end; empty beyond it).
std::string ColumnText(const std::string& line, size_t pos, size_t n);
// The same without leading and trailing blanks.
std::string ColumnTrimmed(const std::string& line, size_t pos, size_t n);
// Number in the columns as converted by the C library (0 when there is none).
long double ColumnNumber(const std::string& line, size_t pos, size_t n);
long ColumnInteger(const std::string& line, size_t pos, size_t n);
// Whether the line holds the label anywhere.
bool HasLabel(const std::string& line, const char* label);
// Copies text into a buffer of the given size, truncating and terminating it.
void CopyText(char* out, size_t size, const std::string& text);

#endif
