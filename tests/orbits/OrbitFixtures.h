// Small but complete orbit, clock and channel inputs of 2020-05-31 (MJD 59000)
// for satellites G05, R05 and E11, for tests that run the whole loading.
#ifndef TERVAN_TESTS_ORBITS_ORBITFIXTURES_H
#define TERVAN_TESTS_ORBITS_ORBITFIXTURES_H

#include <cstdio>
#include <string>

#include "NavFixture.h"
#include "Sp3Fixture.h"

namespace orbitfixture {

// Precise orbit: 24 epochs of 15 minutes from 00:00 (or count epochs from epoch first).
inline std::string Sp3(int count = 24, int first = 0) {
  sp3fixture::Sp3 f;
  f.ids = {"G05", "R05", "E11"};
  f.month = 5;
  f.day0 = 31;
  f.mjd0 = 59000;
  f.epochs = sp3fixture::Epochs(count, 900, first * 900.0L);
  return f.Text();
}

// Keplerian record at 00:00 of 2020-05-31 (GPS week 2107, Toe 0).
inline navfixture::Rec Kepler(char sys, int prn) {
  navfixture::Rec r;
  r.sys = sys;
  r.prn = prn;
  r.mo = 5;
  r.d = 31;
  r.h = 0;
  r.v = {1e-4,  1e-11, 0,      10,  20.5,  4.5e-9, 0.5, 1e-6, 0.01, 2e-6, 5153.7, 0,    1e-7, 1.0,
         -1e-7, 0.96,  200.25, 0.3, -8e-9, 1e-10,  1,   2107, 0,    2,    0,      5e-9, 7e-9, 0};
  return r;
}

inline std::string GpsNav() {
  return navfixture::HeaderGps2() + navfixture::Record2(Kepler('G', 5));
}

inline std::string GalileoNav() {
  return navfixture::Label("     3.04           N: GNSS NAV DATA    E: GALILEO",
                           "RINEX VERSION / TYPE") +
         navfixture::Label("", "END OF HEADER") + navfixture::Record3(Kepler('E', 11));
}

inline std::string GlonassNav() {
  navfixture::Rec r;
  r.sys = 'R';
  r.prn = 5;
  r.mo = 5;
  r.d = 31;
  r.h = 0;
  r.mi = 15;
  r.v = {6.3559e-5,     1e-12, 82800, 10908.9423828, 1.40780639648,  1e-9,  0, -2885.72607422,
         2.79585552216, -2e-9, 1,     22883.5395508, -0.31699848175, -3e-9, 0};
  return navfixture::HeaderGlonass2() + navfixture::Record2(r);
}

// Satellite clocks every 30 s from 00:00 to 00:04:30.
// Clocks: 10 epochs of 30 s from 00:00 (or count epochs from epoch first).
inline std::string Clock(int count = 10, int first = 0) {
  std::string s = navfixture::Label("     3.00           C", "RINEX VERSION / TYPE") +
                  navfixture::Label("     3", "# OF SOLN SATS") +
                  navfixture::Label("G05 R05 E11", "PRN LIST") +
                  navfixture::Label("", "END OF HEADER");
  char b[128];
  for (int e = first; e < first + count; e++)
    for (const char* sat : {"G05", "R05", "E11"}) {
      std::snprintf(b, sizeof b, "AS %-3s  2020  5 31  0 %2d %9.6f  1   %19.12E\n", sat, e / 2,
                    (e % 2) * 30.0, 1e-4 + 1e-9 * e);
      s += b;
    }
  return s;
}

inline std::string Channels() {
  return "# GLONASS frequency channels\n"
         "R05       2019 01 01 00:00:00                      1\n";
}

}  // namespace orbitfixture

#endif
