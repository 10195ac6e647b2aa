#include "sim/Antennas.h"

#include <cmath>

#include "sim/Attitude.h"
#include "sim/Constants.h"
#include "sim/Constellation.h"
#include "sim/TextFormat.h"

namespace sim {

namespace {

// Millimetres to metres, kept to the 0.01 mm of the file.
long double Mm(long double mm) {
  return std::round(mm * 100.0L) / 100.0L / 1000.0L;
}

long double Sq(long double x) {
  return x * x;
}

// Receiver pattern: a*sin^2 z + b*sin^4 z (mm), with an azimuth term
// c*sin^2 z*cos(A - phase) when c is not zero.
PcvPattern ReceiverPattern(Vec3 offsetMm, long double a, long double b, long double c,
                           long double phaseDeg) {
  PcvPattern p;
  p.offset = {Mm(offsetMm.x), Mm(offsetMm.y), Mm(offsetMm.z)};
  auto value = [&](long double z, long double az) {
    const long double s2 = Sq(std::sin(z * kDeg));
    return a * s2 + b * s2 * s2 + c * s2 * std::cos((az - phaseDeg) * kDeg);
  };
  for (long double z = p.zen1; z <= p.zen2 + 1e-9L; z += p.dzen) {
    const long double s2 = Sq(std::sin(z * kDeg));
    p.noazi.push_back(Mm(a * s2 + b * s2 * s2));  // the mean over the azimuths
  }
  if (c != 0) {
    p.dazi = 5;
    for (long double az = 0; az <= 360 + 1e-9L; az += p.dazi) {
      std::vector<long double> row;
      for (long double z = p.zen1; z <= p.zen2 + 1e-9L; z += p.dzen)
        row.push_back(Mm(value(z, az)));
      p.azi.push_back(row);
    }
  }
  return p;
}

// Satellite pattern: p0 - p2 (n/10)^2 + p4 (n/10)^4 (mm) over nadir 0..zen2 by 1 degree.
PcvPattern SatellitePattern(Vec3 offsetMm, long double zen2, long double p0, long double p2,
                            long double p4) {
  PcvPattern p;
  p.offset = {Mm(offsetMm.x), Mm(offsetMm.y), Mm(offsetMm.z)};
  p.zen2 = zen2;
  p.dzen = 1;
  for (long double n = 0; n <= zen2 + 1e-9L; n += 1) {
    const long double x = Sq(n / 10.0L);
    p.noazi.push_back(Mm(p0 - p2 * x + p4 * x * x));
  }
  return p;
}

SimAntenna SatelliteAntenna(const SimSat& s) {
  SimAntenna a;
  a.sat = s.Id();
  a.svn = Format("%c%03d", s.system, 100 + s.prn);
  a.cospar = Format("2020-%03dA", s.prn + (s.system == 'R' ? 100 : s.system == 'E' ? 200 : 0));
  PcvPattern p;
  if (s.system == 'G' && s.prn <= 8) {
    a.type = "BLOCK IIR-M";
    a.iir = true;
    p = SatellitePattern({0, 0, 850.0L + 10 * s.prn}, 17, 5, 9, 2.5L);
  } else if (s.system == 'G' && s.prn <= 20) {
    a.type = "BLOCK IIF";
    p = SatellitePattern({394, 0, 1100.0L + 20 * s.prn}, 17, 5, 9, 2.5L);
  } else if (s.system == 'G') {
    a.type = "BLOCK IIIA";
    p = SatellitePattern({-20, 10, 700.0L + 5 * s.prn}, 17, 4, 8, 2);
  } else if (s.system == 'R') {
    a.type = "GLONASS-M";
    p = SatellitePattern({-545, 0, 2300.0L + 15 * s.prn}, 15, 3, 6, 2);
  } else {
    a.type = "GALILEO-2";
    p = SatellitePattern({150, 0, 800.0L + 10 * s.prn}, 20, 2, 4, 1.5L);
  }
  a.type.resize(20, ' ');
  a.band[0] = a.band[1] = p;
  return a;
}

std::string Label(const std::string& text, const char* label) {
  std::string s = text;
  s.resize(60, ' ');
  return s + label + "\n";
}

std::string Values(const char* head, const std::vector<long double>& v) {
  std::string s = head;
  for (long double x : v) s += Format("%8.2Lf", x * 1000.0L);
  return s + "\n";
}

std::string Frequency(const char* code, const PcvPattern& p) {
  std::string s = Label(Format("   %s", code), "START OF FREQUENCY");
  s += Label(Format("%10.2Lf%10.2Lf%10.2Lf", p.offset.x * 1000.0L, p.offset.y * 1000.0L,
                    p.offset.z * 1000.0L),
             "NORTH / EAST / UP");
  s += Values("   NOAZI", p.noazi);
  for (size_t r = 0; r < p.azi.size(); ++r)
    s += Values(Format("%8.1Lf", r * p.dazi).c_str(), p.azi[r]);
  return s + Label(Format("   %s", code), "END OF FREQUENCY");
}

std::string AntennaBlock(const SimAntenna& a) {
  const PcvPattern& p = a.band[0];
  const bool receiver = a.sat.empty();
  std::string s = Label("", "START OF ANTENNA");
  s += Label(Format("%-20s%-20s%-10s%-10s", a.type.c_str(), a.sat.c_str(), a.svn.c_str(),
                    a.cospar.c_str()),
             "TYPE / SERIAL NO");
  s += Label(Format("%-20s%-20s%6d    %-9s", "SIMULATION", "TERVAN-SIM", 0, "01-JAN-26"),
             "METH / BY / # / DATE");
  s += Label(Format("%8.1Lf", p.dazi), "DAZI");
  s += Label(Format("  %6.1Lf%6.1Lf%6.1Lf", p.zen1, p.zen2, p.dzen), "ZEN1 / ZEN2 / DZEN");
  static const char* const rec[6] = {"G01", "G02", "R01", "R02", "E01", "E07"};
  const char system = receiver ? ' ' : a.sat[0];
  const char* const sat[2] = {system == 'G'   ? "G01"
                              : system == 'R' ? "R01"
                                              : "E01",
                              system == 'G'   ? "G02"
                              : system == 'R' ? "R02"
                                              : "E07"};
  s += Label(Format("%6d", receiver ? 6 : 2), "# OF FREQUENCIES");
  if (!receiver) s += Label("  2000     1     1     0     0    0.0000000", "VALID FROM");
  if (receiver)
    for (int k = 0; k < 6; ++k) s += Frequency(rec[k], a.band[k % 2]);
  else
    for (int k = 0; k < 2; ++k) s += Frequency(sat[k], a.band[k]);
  return s + Label("", "END OF ANTENNA");
}

}  // namespace

long double PcvPattern::At(long double zenith, long double azimuth) const {
  const long double nz = static_cast<long double>(noazi.size() - 1);
  const long double fz = std::min(nz, std::max(0.0L, (zenith - zen1) / dzen));
  const size_t iz = std::min(static_cast<size_t>(fz), noazi.size() - 2);
  const long double wz = fz - iz;
  auto along = [&](const std::vector<long double>& v) { return v[iz] + wz * (v[iz + 1] - v[iz]); };
  if (azi.empty()) return along(noazi);
  const long double na = static_cast<long double>(azi.size() - 1);
  const long double fa = std::min(na, std::max(0.0L, azimuth / dazi));
  const size_t ia = std::min(static_cast<size_t>(fa), azi.size() - 2);
  const long double wa = fa - ia;
  return along(azi[ia]) + wa * (along(azi[ia + 1]) - along(azi[ia]));
}

Antennas::Antennas(const Constellation& sats) {
  SimAntenna base, rover;
  base.type = "SIMANT-BASE     NONE";
  base.band[0] = ReceiverPattern({1.20L, -0.80L, 89.50L}, 6, -9, 0, 0);
  base.band[1] = ReceiverPattern({-0.40L, 0.60L, 92.10L}, 4, -7, 0, 0);
  rover.type = "SIMANT-ROVER    SIMR";
  rover.band[0] = ReceiverPattern({-0.60L, 1.50L, 61.20L}, -3, 2, 1.5L, 30);
  rover.band[1] = ReceiverPattern({0.30L, 0.90L, 57.80L}, 5, -4, 1.0L, 75);
  receivers_ = {base, rover};
  for (size_t i = 0; i < sats.Size(); ++i) satellites_.push_back(SatelliteAntenna(sats.Sat(i)));
}

long double Antennas::ReceiverEffect(Station st, int band, long double el, long double az) const {
  const PcvPattern& p = receivers_[st].band[band];
  const long double los =
      p.offset.x * Cos(el) * Cos(az) + p.offset.y * Cos(el) * Sin(az) + p.offset.z * Sin(el);
  return p.At(90.0L - el / kDeg, az / kDeg) - los;
}

Vec3 Antennas::SatelliteOffset(size_t sat, const Vec3& position, const Vec3& sun) const {
  Vec3 ex, ey, ez;
  BodyAxes(position, sun, false, ex, ey, ez);
  const Vec3& o = satellites_[sat].band[0].offset;
  return o.x * ex + o.y * ey + o.z * ez;
}

long double Antennas::SatelliteVariation(size_t sat, int band, long double nadir) const {
  return satellites_[sat].band[band].At(nadir / kDeg, 0);
}

std::string Antennas::Antex() const {
  std::string s = Label("     1.4            M", "ANTEX VERSION / SYST");
  s += Label("A", "PCV TYPE / REFANT");
  s += Label("SIMULATED ANTENNA CALIBRATIONS WRITTEN BY TERVAN-SIM", "COMMENT");
  s += Label("Satellites of the GPS block IIR family use the IIR axes", "COMMENT");
  s += Label("", "END OF HEADER");
  for (const SimAntenna& a : receivers_) s += AntennaBlock(a);
  for (const SimAntenna& a : satellites_) s += AntennaBlock(a);
  return s;
}

}  // namespace sim
