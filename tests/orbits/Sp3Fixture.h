// Small SP3 files written by the tests: circular orbits sampled at the epochs
// asked for, with optional velocity and correlation lines, gaps and marks.
#ifndef TERVAN_TESTS_ORBITS_SP3FIXTURE_H
#define TERVAN_TESTS_ORBITS_SP3FIXTURE_H

#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace sp3fixture {

const long double kPi = 3.141592653589793L;

// Position (m) of a test satellite k at t seconds after 2020-06-25 00:00:00.
inline void Orbit(int k, long double t, long double p[3], long double v[3] = nullptr) {
  const long double R = 26560e3L, w = 2 * kPi / 43082.0L, inc = 55.0L * kPi / 180;
  const long double node = 0.7L * k, a = w * t + 1.1L * k;
  const long double xo = R * std::cos(a), yo = R * std::sin(a);
  const long double x1 = xo, y1 = yo * std::cos(inc), z1 = yo * std::sin(inc);
  p[0] = x1 * std::cos(node) - y1 * std::sin(node);
  p[1] = x1 * std::sin(node) + y1 * std::cos(node);
  p[2] = z1;
  if (v) {
    const long double vxo = -R * w * std::sin(a), vyo = R * w * std::cos(a);
    const long double vx1 = vxo, vy1 = vyo * std::cos(inc), vz1 = vyo * std::sin(inc);
    v[0] = vx1 * std::cos(node) - vy1 * std::sin(node);
    v[1] = vx1 * std::sin(node) + vy1 * std::cos(node);
    v[2] = vz1;
  }
}

// Clock (microseconds) of test satellite k: linear in time.
inline long double Clock(int k, long double t) {
  return 100.0L + k + 0.002L * t / 60;
}

struct Sp3 {
  std::vector<std::string> ids = {"G01", "R05", "E11"};
  std::vector<long double> epochs;  // seconds after the start
  int headerEpochs = -1;            // -1: the number of epochs
  long double interval = 900;
  int month = 6, day0 = 25, mjd0 = 59025;  // first day (2020) and its MJD
  bool velocities = false, correlations = false, eofLine = true;
  std::set<std::pair<int, int>> zero, noClock;  // (epoch index, satellite index)

  std::string Text() const {
    char b[256];
    std::string s;
    std::snprintf(b, sizeof b, "#cP2020 %2d %2d  0  0  0.00000000 %7d ORBIT IGb14 FIT TEST\n",
                  month, day0, headerEpochs < 0 ? static_cast<int>(epochs.size()) : headerEpochs);
    s += b;
    std::snprintf(b, sizeof b, "## 2111 345600.00000000 %14.8f %5d 0.0000000000000\n",
                  static_cast<double>(interval), mjd0);
    s += b;
    for (int line = 0; line < 5; line++) {
      std::snprintf(b, sizeof b, line == 0 ? "+  %3d   " : "+        ",
                    static_cast<int>(ids.size()));
      s += b;
      for (int k = 0; k < 17; k++) {
        const size_t i = line * 17 + k;
        s += i < ids.size() ? ids[i] : std::string("  0");
      }
      s += "\n";
    }
    for (int line = 0; line < 5; line++) {
      s += "++       ";
      for (int k = 0; k < 17; k++)
        s += line * 17 + k < static_cast<int>(ids.size()) ? "  5" : "  0";
      s += "\n";
    }
    s += "%c M  cc GPS ccc cccc cccc cccc cccc ccccc ccccc ccccc ccccc\n";
    s += "%c cc cc ccc ccc cccc cccc cccc cccc ccccc ccccc ccccc ccccc\n";
    s += "%f  1.2500000  1.025000000  0.00000000000  0.000000000000000\n";
    s += "%f  0.0000000  0.000000000  0.00000000000  0.000000000000000\n";
    s += "%i    0    0    0    0      0      0      0      0         0\n";
    s += "%i    0    0    0    0      0      0      0      0         0\n";
    s += "/* TEST ORBITS\n/* CIRCULAR\n/*\n/*\n";
    for (size_t e = 0; e < epochs.size(); e++) {
      const long double t = epochs[e];
      const int day = day0 + static_cast<int>(t / 86400);
      const long double sod = t - (day - day0) * 86400.0L;
      std::snprintf(b, sizeof b, "*  2020 %2d %2d %2d %2d %11.8f\n", month, day,
                    static_cast<int>(sod / 3600), static_cast<int>(std::fmod(sod, 3600.0L) / 60),
                    static_cast<double>(std::fmod(sod, 60.0L)));
      s += b;
      for (size_t k = 0; k < ids.size(); k++) {
        long double p[3], v[3];
        Orbit(static_cast<int>(k), t, p, v);
        if (zero.count({static_cast<int>(e), static_cast<int>(k)})) p[0] = p[1] = p[2] = 0;
        const bool noclk = noClock.count({static_cast<int>(e), static_cast<int>(k)}) > 0;
        std::snprintf(b, sizeof b, "P%s%14.6f%14.6f%14.6f%14.6f  5  5  5 117\n", ids[k].c_str(),
                      static_cast<double>(p[0] / 1000), static_cast<double>(p[1] / 1000),
                      static_cast<double>(p[2] / 1000),
                      noclk ? 999999.999999 : static_cast<double>(Clock(static_cast<int>(k), t)));
        s += b;
        if (correlations)
          s += "EP     55     55     55    222   1234567 -1234567   5999999 -30  21 -1230000\n";
        if (velocities) {
          std::snprintf(b, sizeof b, "V%s%14.6f%14.6f%14.6f%14.6f\n", ids[k].c_str(),
                        static_cast<double>(v[0] * 10), static_cast<double>(v[1] * 10),
                        static_cast<double>(v[2] * 10), 0.1);
          s += b;
        }
        if (correlations && velocities)
          s += "EV     22     22     22    111   1234567 -1234567   5999999 -30  21 -1230000\n";
      }
    }
    if (eofLine) s += "EOF\n";
    return s;
  }
};

inline std::vector<long double> Epochs(int n, long double step, long double start = 0) {
  std::vector<long double> e;
  for (int i = 0; i < n; i++) e.push_back(start + i * step);
  return e;
}

}  // namespace sp3fixture

#endif
