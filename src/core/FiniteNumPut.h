// Guard of the program's outputs against numbers that are not finite: a stream imbued
// with this facet ends the run with a framed error instead of writing "nan" or "inf"
// into a report or a result file. The error names the output, the run's input and,
// while a stage works through epochs, the epoch being written.
#ifndef TERVAN_CORE_FINITENUMPUT_H
#define TERVAN_CORE_FINITENUMPUT_H

#include <iosfwd>
#include <locale>
#include <string>

class FiniteNumPut : public std::num_put<char> {
 public:
  // plainPoint: the stream's locale writes a '.' and no digit groups.
  FiniteNumPut(const std::string& output, bool plainPoint);

  // Imbues the stream with a guard that names output in its error.
  static void Guard(std::ostream& os, const std::string& output);

  // What the errors name: the run's input ("SINGLE DIFFERENCES FILE X.sd") and the
  // epoch being written (empty outside the epoch loops).
  static void SetInput(const std::string& input);
  static void SetEpoch(const std::string& epoch);

  // The framed error's text for a value of output that is not finite.
  static std::string ErrorText(const std::string& output);

 protected:
  iter_type do_put(iter_type out, std::ios_base& str, char fill, double v) const override;
  iter_type do_put(iter_type out, std::ios_base& str, char fill, long double v) const override;

 private:
  void Check(long double v) const;
  // The fixed-point text of v for the stream's format into text, or 0 when the
  // standard facet writes it (other formats, flags or separators).
  size_t FixedText(const std::ios_base& str, long double v, char* text) const;
  static iter_type Padded(iter_type out, std::ios_base& str, char fill, const char* text,
                          size_t len);
  std::string output_;
  bool plainPoint_;
};

#endif
