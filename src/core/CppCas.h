// Current date and time for the title block, and run-time measurement on the
// processor clock.
#ifndef TERVAN_CORE_CPPCAS_H
#define TERVAN_CORE_CPPCAS_H

#include <ctime>

class CppCas {
 public:
  CppCas();

  // Reads the current calendar time and converts it to local time.
  void Update();
  // Update, then "YYYY-MM-DD  hh:mm:ss" (valid until the next call).
  const char* Ascii();
  // Update, then the year (full), month (0-11), day, hour, minute, second.
  int LetoDt();
  int MesecDt();
  int DanDt();
  int Ura();
  int Min();
  int Sec();

  // Starts a measurement.
  void Start();
  // Processor time [s] since Start, ending the measurement; 0 when none runs.
  double Stop();
  // Busy-waits s seconds of processor time.
  void Pocakaj(int s);

 private:
  std::time_t rawtime;    // time of the last Update
  std::clock_t startUra;  // processor clock at Start
  std::clock_t stopUra;   // processor clock at Stop
  std::tm* timeinfo;      // local time of the last Update
  bool casTece;           // a measurement is running
  char ascii[25];         // text of the last Ascii call
};

// The program's run timer.
namespace prgutil {
extern CppCas ctm;
}  // namespace prgutil

#endif
