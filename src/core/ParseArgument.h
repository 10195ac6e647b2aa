// Helpers that read option values from command-line arguments. An option is one
// argument: a dash, a short key and the value glued to the key ("-me10", "-rBASE.sdf");
// pos is the index of the value's first character in the argument.
#ifndef TERVAN_CORE_PARSEARGUMENT_H
#define TERVAN_CORE_PARSEARGUMENT_H

#include <cstddef>
#include <initializer_list>
#include <string>

// Size of the file-name buffers that receive option values (terminator included).
constexpr std::size_t FileNameSize = 512;

// Copies the value behind pos into name (FileNameSize bytes). A value longer than
// FileNameSize - 1 characters is refused before anything is copied: the run ends with
// a framed error of prog that names the option.
void ParseFileName(const std::string& prog, const char* arg, std::size_t pos, char* name);

// ParseFileName, then sets flag; when verbose writes prefix, label, the name and "!"
// as one line to standard error.
void GetFileName(const std::string& prog, const char* arg, std::size_t pos, char* name, bool& flag,
                 bool verbose, const std::string& prefix, const std::string& label);

// Number behind pos. ok (when given) tells whether any digits were converted, fits
// (when given) whether the value lies within the range of the returned type; a value
// that does not fit reads as 0 (double, float) or the nearest limit (int).
// A float is read as a double and rounded to single precision.
float ParseFloat(const char* arg, std::size_t pos, bool* ok = nullptr, bool* fits = nullptr);
double ParseDouble(const char* arg, std::size_t pos, bool* ok = nullptr, bool* fits = nullptr);
int ParseInteger(const char* arg, std::size_t pos, bool* ok = nullptr, bool* fits = nullptr);

// Time "h:m:s" behind pos, in seconds (h * 3600 + m * 60 + s). Missing trailing
// fields count as zero; ok tells whether the hours were read, fits whether hours and
// minutes lie within the range of int and the seconds are finite.
long double ParseHMS(const char* arg, std::size_t pos, bool* ok = nullptr, bool* fits = nullptr);

// The limits of the type T as the text "FROM <lowest> TO <highest>".
template <typename T>
std::string RangeText();

// Error text of an option value beyond a bound, one wording for every such bound:
// "<what> - <bound> [ <option> ]!".
std::string OptionBoundText(const std::string& what, const std::string& bound,
                            const std::string& option);

// OptionBoundText of a number that does not fit its type T:
// "VALUE <value> OUT OF RANGE - FROM <lowest> TO <highest> [ <option> ]!".
template <typename T>
std::string OutOfRangeText(const std::string& value, const std::string& option) {
  return OptionBoundText("VALUE " + value + " OUT OF RANGE", RangeText<T>(), option);
}

// Estimation type: "STA"/"sta" switches on the static, "KIN"/"kin" the kinematic
// solution; the switches are never turned off.
void ParseEstimationType(const char* arg, std::size_t pos, bool& isStatic, bool& isKinematic);

// Observation types switched on by the list behind pos.
struct ObservationList {
  bool C1 = false, P1 = false, P2 = false, Pc3 = false, Pp3 = false;
  bool L3 = false, L1 = false, L2 = false;
};
// Each of "C1", "P1", "P2", "Pc3", "Pp3", "L3", "L1", "L2" (or the same in lower
// case) anywhere in the value switches on its type in list.
void ParseObservationList(const char* arg, std::size_t pos, ObservationList& list);

// True when text contains any of the given words.
bool ContainsAny(const char* text, std::initializer_list<const char*> words);

#endif
