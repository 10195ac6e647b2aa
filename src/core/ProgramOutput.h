// Console report helpers: the title block, framed subtitles and character rules
// that give the report on standard output its look.
#ifndef TERVAN_CORE_PROGRAMOUTPUT_H
#define TERVAN_CORE_PROGRAMOUTPUT_H

#include <cstddef>
#include <ostream>
#include <string>

// Texts of the title block, filled by the program just before the title is printed.
namespace POut {
constexpr std::size_t TextSize = 128;  // bytes per buffer, terminator included
extern char ProgramName[TextSize];
extern char ProgramDescription[TextSize];
extern char Author[TextSize];
extern char ValidationDate[TextSize];
extern char Release[TextSize];
// Copies text into one of the buffers above, cut to fit.
void SetText(char (&buffer)[TextSize], const char* text);
}  // namespace POut

// nblank spaces, then n copies of c and a newline (nothing more when n <= 0).
void PrintChar(char c, int n, int nblank);
// n copies of c without a newline (nothing when n <= 0).
void PrintCharNoEndl(char c, int n);
// n copies of c and a newline to a file stream.
void PrintChar(char c, int n, std::ostream& file);

// Title block: rules of 110 characters around the program name, copyright and
// release lines, the last one with the local date and time of the run.
void ProgramTitle();
// Text between two rules of 110 "=", each line indented by nblank spaces.
void ProgramSubTitle(const std::string& text, int nblank);
// Text underlined with "=" as long as the text.
void ProgramSubSubTitle(const std::string& text, int nblank);
// Text underlined with "-" as long as the text.
void ProgramSubSubSubTitle(const std::string& text, int nblank);

#endif
