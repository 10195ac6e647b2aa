// The report stages leave their print settings in force for the rest of a run; a
// test restores them so that later suites of the same binary print as before.
#ifndef TERVAN_TESTS_PREPROCESS_PRINTSETTINGSGUARD_H
#define TERVAN_TESTS_PREPROCESS_PRINTSETTINGSGUARD_H

#include "gnss/flh.h"
#include "gnss/xyz.h"

class PrintSettingsGuard {
 public:
  PrintSettingsGuard()
      : ndec_(xyzns::NDec),
        width_(xyzns::Width),
        unit_(flhns::Unit),
        ndecFL_(flhns::NDecFL),
        widthFL_(flhns::WidthFL),
        widthH_(flhns::WidthH) {}
  ~PrintSettingsGuard() {
    xyzns::NDec = ndec_;
    xyzns::Width = width_;
    flhns::Unit = unit_;
    flhns::NDecFL = ndecFL_;
    flhns::WidthFL = widthFL_;
    flhns::WidthH = widthH_;
  }
  PrintSettingsGuard(const PrintSettingsGuard&) = delete;
  PrintSettingsGuard& operator=(const PrintSettingsGuard&) = delete;

 private:
  short ndec_, width_, unit_, ndecFL_, widthFL_, widthH_;
};

#endif
