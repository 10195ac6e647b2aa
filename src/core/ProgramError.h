// Program-wide reporting of fatal errors and warnings in framed messages.
//
// The driver and the stages report with the source name "Tervan" through
// ProgramError / ProgramWarning (standard error) and their standard-output twins.
// The classes of the GNSS, data, orbit, atmosphere and station subsystems report
// through ClassError / FileError / ClassWarning (standard output), which produce
// the same frames with the class name as the source.
#ifndef TERVAN_CORE_PROGRAMERROR_H
#define TERVAN_CORE_PROGRAMERROR_H

#include <iosfwd>
#include <string>

// One framed message:
//   [empty line]
//   <mark x4> <who>: <kind> -> <text> <mark x4>
//   "     " <closing> <who> " ... "
//   [empty line]
struct FramedMessage {
  const char* mark;     // "****" for errors, "####" for warnings and some file errors
  std::string who;      // program or class name
  const char* kind;     // "Error" or "Warning"
  std::string text;     // the message itself
  const char* closing;  // "Exiting ", "Exiting class " or "Continuing "
  bool blankBefore;
  bool blankAfter;
};

// The frame as text, and the frame written to a stream and flushed.
std::string FramedText(const FramedMessage& m);
void WriteFramed(std::ostream& os, const FramedMessage& m);

// An error printed on standard output (the report) goes to standard error as well
// whenever the two streams do not reach the same terminal or file.
void WriteErrorCout(const std::string& text);

// Flushes both standard streams and ends the process with exit status 1, or, when a
// handler is set, calls it (a test harness that must survive the error throws from it).
[[noreturn]] void ExitWithError();
using ErrorExitHandler = void (*)();
void SetErrorExitHandler(ErrorExitHandler handler);

// Driver and stages (source name "Tervan"). The Cout forms print the error on
// standard output and, through WriteErrorCout, on standard error when that is elsewhere.
[[noreturn]] void ProgramError(const std::string& prog, const std::string& error);
[[noreturn]] void ProgramErrorCout(const std::string& prog, const std::string& error);
void ProgramWarning(const std::string& prog, const std::string& warn);
void ProgramWarningCout(const std::string& prog, const std::string& warn);

// Value classes (time, coordinates): "**** mjd: Error -> ... ****" and
// "     Exiting class mjd ... " on standard output (see WriteErrorCout), exit status 1.
[[noreturn]] void ClassError(const std::string& cls, const std::string& text);

// File classes: "**** GPSbEph: Error -> ... ****" (or "####" with mark "####") and
// "     Exiting GPSbEph ... " on standard output (see WriteErrorCout), exit status 1.
[[noreturn]] void FileError(const std::string& cls, const std::string& text,
                            const char* mark = "****");

// Classes' warnings: "#### cls: Warning -> ... ####" and "     Continuing cls ... "
// on standard output. blankBefore adds the leading empty line some classes write.
void ClassWarning(const std::string& cls, const std::string& text, bool blankBefore = false);

#endif
