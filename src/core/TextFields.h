// Fixed-column fields of text lines: cutting a field out of a line of any length,
// trimming it, finding a header label, and reading a number from it.
//
// Every number reader answers the same way: a field that holds no finite number
// (blank, malformed, "nan", an overflowing exponent) is absent, and the caller
// decides what that means (a framed error naming the file, line and field, or the
// missing value that the format documents). Decimal values are the correctly
// rounded extended-precision values of the text; Fortran "D" exponents are read
// like "E" exponents.
#ifndef TERVAN_CORE_TEXTFIELDS_H
#define TERVAN_CORE_TEXTFIELDS_H

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>

namespace textfield {

// --- Allocation-free layer for the bulk readers ---------------------------------

// A decimal number (digits with an optional point and exponent) from [p, end),
// leading blanks and tabs skipped. False, with value 0, when no finite number
// begins there. stop (when given) receives the position after the number.
bool ParseDecimal(const char* p, const char* end, long double& value, const char** stop = nullptr);

// An integer from [p, end); false, with value 0, when none begins there or it
// does not fit in 32 bits.
bool ParseInteger(const char* p, const char* end, long& value, const char** stop = nullptr);

// The text of columns [from, from + width) of a line of length len, clipped to the
// line: the begin and end pointers of that part (equal when the line is shorter).
inline void FieldRange(const char* line, size_t len, size_t from, size_t width, const char*& b,
                       const char*& e) {
  size_t s = from < len ? from : len;
  size_t t = (width < len - s) ? s + width : len;
  b = line + s;
  e = line + t;
}

// Whether [b, e) is empty or only blanks, tabs and line ends.
bool IsBlank(const char* b, const char* e);

// The number of columns [from, from + width) of a line of length len, where a
// blank field means the missing value `blank`; false (v unchanged) when the field
// is neither blank nor a number.
bool RealOrAt(const char* line, size_t len, size_t from, size_t width, long double blank,
              long double& v);
bool IntOrAt(const char* line, size_t len, size_t from, size_t width, long blank, long& v);

// --- Fields of std::string lines -------------------------------------------------

// Columns [pos, pos + len) of a line (0-based): shorter at its end, empty beyond it.
std::string Cut(const std::string& line, size_t pos, size_t len = std::string::npos);
// The same, padded with blanks to len characters.
std::string Padded(const std::string& line, size_t pos, size_t len);
// The text without leading and trailing blanks, tabs and line ends.
std::string Trim(const std::string& s);
// The trimmed columns [pos, pos + len) of a line.
std::string Trimmed(const std::string& line, size_t pos, size_t len = std::string::npos);
// Whether the text is empty or only blanks, tabs and line ends.
bool IsBlank(const std::string& s);

// Whether the line holds the label anywhere.
bool HasLabel(const std::string& line, const char* label);
// Whether the line holds the label starting at column col.
bool LabelAt(const std::string& line, size_t col, const char* label);
// Reads lines (through GetLine) up to and including the first that holds the
// label; false when the stream ends before one does.
bool SkipPastLabel(std::istream& in, const char* label);

// The finite number at the start of the text (blanks skipped; the number ends
// where the text stops forming one); absent when there is none.
std::optional<long double> Real(const std::string& text);
std::optional<long double> Real(const std::string& line, size_t pos, size_t len);
// The finite number that begins at column col and runs as far as it forms a number,
// stored in v; false when there is none.
bool RealFrom(const std::string& line, size_t col, long double& v);
// The integer at the start of the text (blanks skipped); absent when there is none
// or it does not fit in 32 bits.
std::optional<long> Int(const std::string& text);
std::optional<long> Int(const std::string& line, size_t pos, size_t len);

// The number of a field whose blank means the missing value `blank` (as RINEX and
// SP3 document for some fields); absent when the field is neither blank nor a number.
std::optional<long double> RealOr(const std::string& line, size_t pos, size_t len,
                                  long double blank);
std::optional<long> IntOr(const std::string& line, size_t pos, size_t len, long blank);

// Text of a reader's framed error about a field that holds no number:
// "MALFORMED NUMBER IN COLUMNS <a>-<b> OF <file>: <line>" (columns from 1), with
// "OF LINE <n> " before the file when the number of the line is known (n > 0).
std::string MalformedField(const std::string& file, const std::string& line, size_t pos, size_t len,
                           long lineNo = 0);

// Where a reader's framed errors about malformed fields point: the class that
// reports them, the file (or the part of a file), the frame's mark and the number
// of the line (0 when unknown).
struct FieldSource {
  std::string cls;
  std::string file;
  const char* mark = "****";
  long line = 0;
};

// The framed error of the class (standard output, exit status 1) about columns
// [pos, pos + len) of the line, which hold no number.
[[noreturn]] void FieldError(const FieldSource& src, const std::string& line, size_t pos,
                             size_t len);

// The value of a field, or the framed error when it is absent.
template <class T>
T Need(const std::optional<T>& v, const FieldSource& src, const std::string& line, size_t pos,
       size_t len) {
  if (!v) FieldError(src, line, pos, len);
  return *v;
}

// A fixed-point field of columns [pos, pos + len): blanks, an optional sign, digits
// with at most one point (no exponent) and blanks, nothing else. Without allocation,
// for the bulk of observation fields: blank (the format's missing value), a number
// stored in v, or malformed (v unchanged in both other cases).
enum class FieldState { kBlank, kNumber, kMalformed };
FieldState FixedField(const std::string& line, size_t pos, size_t len, long double& v);
// The same absent when blank or malformed.
std::optional<long double> Fixed(const std::string& line, size_t pos, size_t len);
// The same for an integer field (no point).
std::optional<long> FixedInt(const std::string& line, size_t pos, size_t len);

// Stores a present value in v and says whether there was one (v unchanged if not).
template <class T, class U>
bool Take(const std::optional<T>& value, U& v) {
  if (!value) return false;
  v = *value;
  return true;
}

// Copies text into a buffer of the given size, truncating and terminating it.
void CopyText(char* out, size_t size, const std::string& text);

// Reads the next line without its carriage return; false at the end. The lines
// read from a stream this way are counted.
bool GetLine(std::istream& in, std::string& line);
// The number of the line that GetLine read last from the stream (from 1; 0 before
// the first).
long LineNumber(std::istream& in);

}  // namespace textfield

#endif
