#include "core/ProgramOutput.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <iomanip>
#include <iostream>

namespace POut {
char ProgramName[TextSize] = "";
char ProgramDescription[TextSize] = "";
char Author[TextSize] = "";
char ValidationDate[TextSize] = "";
char Release[TextSize] = "";

void SetText(char (&buffer)[TextSize], const char* text) {
  std::snprintf(buffer, TextSize, "%s", text);
}
}  // namespace POut

namespace {

constexpr int RuleWidth = 110;

void Blanks(std::ostream& os, int nblank) {
  if (nblank > 0) os << std::string(static_cast<std::size_t>(nblank), ' ');
}

void Rule(std::ostream& os, char c, int n) {
  if (n > 0) os << std::string(static_cast<std::size_t>(n), c);
}

// Local date and time of the run, "YYYY-MM-DD  HH:MM:SS".
std::string LocalDateTime() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  if (std::tm* t = std::localtime(&now)) local = *t;
  char text[64];
  std::snprintf(text, sizeof text, "%4d-%02d-%02d  %02d:%02d:%02d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

void TitleLine(const char* label, const std::string& left, const std::string& right) {
  std::cout << label << std::left << std::setw(35) << left << std::right << std::setw(45) << right
            << '\n';
}

void UnderlinedTitle(const std::string& text, int nblank, char c) {
  Blanks(std::cout, nblank);
  std::cout << text << '\n';
  Blanks(std::cout, nblank);
  Rule(std::cout, c, static_cast<int>(text.size()));
  std::cout << '\n' << std::endl;
}

}  // namespace

void PrintChar(char c, int n, int nblank) {
  Blanks(std::cout, nblank);
  if (n <= 0) return;
  Rule(std::cout, c, n);
  std::cout << std::setfill(' ') << std::endl;
}

void PrintCharNoEndl(char c, int n) {
  Rule(std::cout, c, n);
}

void PrintChar(char c, int n, std::ostream& file) {
  Rule(file, c, n);
  file << std::endl;
}

void ProgramTitle() {
  std::cout << std::fixed;
  PrintChar('_', RuleWidth, 0);
  PrintChar('*', RuleWidth, 0);
  TitleLine("          PROGRAM:            ", POut::ProgramName, POut::ProgramDescription);
  TitleLine("          COPYRIGHT (C):      ", POut::Author, POut::ValidationDate);
  TitleLine("          RELEASE:            ", POut::Release, "DATE: " + LocalDateTime());
  PrintChar('_', RuleWidth, 0);
  PrintChar('*', RuleWidth, 0);
  std::cout << '\n' << std::endl;
}

void ProgramSubTitle(const std::string& text, int nblank) {
  PrintChar('=', RuleWidth, nblank);
  Blanks(std::cout, nblank);
  std::cout << text << '\n';
  PrintChar('=', RuleWidth, nblank);
  std::cout << std::endl;
}

void ProgramSubSubTitle(const std::string& text, int nblank) {
  UnderlinedTitle(text, nblank, '=');
}

void ProgramSubSubSubTitle(const std::string& text, int nblank) {
  UnderlinedTitle(text, nblank, '-');
}
