// Small RINEX navigation files written by the tests.
#ifndef TERVAN_TESTS_ORBITS_NAVFIXTURE_H
#define TERVAN_TESTS_ORBITS_NAVFIXTURE_H

#include <cstdio>
#include <string>
#include <vector>

namespace navfixture {

struct Rec {
  char sys = 'G';
  int prn = 1;
  int y = 2020, mo = 6, d = 25, h = 4, mi = 0;
  double s = 0;
  std::vector<double> v;  // 28 (Kepler) or 15 (GLONASS) values
};

inline std::string Values(const std::vector<double>& v, size_t from, size_t count) {
  std::string out;
  char b[32];
  for (size_t k = from; k < from + count && k < v.size(); k++) {
    std::snprintf(b, sizeof b, "%19.12E", v[k]);
    out += b;
  }
  return out;
}

// Version 2 record: satellite number, two-digit year, values in "D" notation.
inline std::string Record2(const Rec& r) {
  char b[64];
  std::snprintf(b, sizeof b, "%2d %02d%3d%3d%3d%3d%5.1f", r.prn, r.y % 100, r.mo, r.d, r.h, r.mi,
                r.s);
  std::string s = b + Values(r.v, 0, 3) + "\n";
  for (size_t k = 3; k < r.v.size(); k += 4) s += "   " + Values(r.v, k, 4) + "\n";
  for (char& ch : s)
    if (ch == 'E') ch = 'D';
  return s;
}

// Version 3 record: system letter and number, four-digit year.
inline std::string Record3(const Rec& r) {
  char b[64];
  std::snprintf(b, sizeof b, "%c%02d %4d %02d %02d %02d %02d %02d", r.sys, r.prn, r.y, r.mo, r.d,
                r.h, r.mi, static_cast<int>(r.s));
  std::string s = b + Values(r.v, 0, 3) + "\n";
  for (size_t k = 3; k < r.v.size(); k += 4) s += "    " + Values(r.v, k, 4) + "\n";
  return s;
}

inline std::string Label(const std::string& text, const std::string& label) {
  std::string s = text;
  s.resize(60, ' ');
  return s + label + "\n";
}

inline std::string HeaderGps2() {
  return Label("     2.10           N: GPS NAV DATA", "RINEX VERSION / TYPE") +
         Label("TEST                TEST                20200626", "PGM / RUN BY / DATE") +
         Label("    1.1180D-08  1.4900D-08 -5.9600D-08 -5.9600D-08", "ION ALPHA") +
         Label("    8.8060D+04  1.6380D+04 -1.9660D+05 -1.3110D+05", "ION BETA") +
         Label("   -2.793967723850D-09-5.329070518200D-15    61440     1061",
               "DELTA-UTC: A0,A1,T,W") +
         Label("    18", "LEAP SECONDS") + Label("", "END OF HEADER");
}

inline std::string HeaderGlonass2() {
  return Label("     2.11           G: GLONASS NAV DATA", "RINEX VERSION / TYPE") +
         Label("TEST                TEST                20200626", "PGM / RUN BY / DATE") +
         Label("  2020     6    25    0.100000000000D-07", "CORR TO SYSTEM TIME") +
         Label("    18", "LEAP SECONDS") + Label("", "END OF HEADER");
}

inline std::string HeaderMixed3() {
  return Label("     3.04           N: GNSS NAV DATA    M: MIXED", "RINEX VERSION / TYPE") +
         Label("TEST                TEST                20200626 000000 UTC",
               "PGM / RUN BY / DATE") +
         Label("GPSA   4.6566e-09  1.4901e-08 -5.9605e-08 -1.1921E-07", "IONOSPHERIC CORR") +
         Label("GAL    2.8250e+01  7.8125e-03  1.0071e-02  0.0000E+00", "IONOSPHERIC CORR") +
         Label("GPUT  9.3132257462E-10 2.664535259E-15 589824 2111", "TIME SYSTEM CORR") +
         Label("    18", "LEAP SECONDS") + Label("", "END OF HEADER");
}

}  // namespace navfixture

#endif
