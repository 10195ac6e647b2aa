#include "PrepContext.h"

#include <cmath>
#include <cstdio>

#include "gnss/SatAzimuthZenit.h"
#include "gnss/xyz_flh.h"
#include "gnss/xyzt.h"

namespace preptest {

xyz BasePosition() {
  return xyz(4292870.8003L, 1113689.7726L, 4568957.2189L);
}
xyz RoverPosition() {
  return xyz(4287233.5862L, 1121174.3063L, 4572450.8724L);
}

PrepContext::PrepContext(const std::vector<short>& sats, long neph, long double step,
                         std::initializer_list<int> types) {
  PhsDiffHeader& h = tc.sdh;
  PhsDiffData& d = tc.sdd;
  for (int t : types) h.SetType(t, true);
  std::snprintf(h.mname[0], sizeof h.mname[0], "%s", "SIMB");
  std::snprintf(h.mname[1], sizeof h.mname[1], "%s", "SIMR");
  const long n = static_cast<long>(sats.size());
  d.SetNRecords(neph, neph * n);
  d.SetData();
  d.satList.Resize(n);
  for (long j = 0; j < n; ++j) d.satList(j) = sats[j];
  matrix<gnssobs>* cols[] = {&d.C1, &d.P1, &d.P2, &d.L1, &d.L2, &d.C7, &d.L7};
  for (long i = 0; i < neph; ++i) {
    d.epoch(i) = mjd(61206, 28800.0L);
    d.epoch(i) += i * step;
    d.nsat(i) = static_cast<short>(n);
    for (long j = 0; j < n; ++j) {
      const long r = i * n + j;
      d.sat(r) = sats[j];
      for (int k = 0; k < 7; ++k)
        if (cols[k]->Length() == d.nobs) (*cols[k])(r) = 1000.0L + r + 100.0L * k;
    }
  }
  tc.RecPosFC_BASE = BasePosition();
  tc.RecPosFC_ROVER = RoverPosition();
  tc.RecPosFCG_BASE = xyz2flh(tc.RecPosFC_BASE, tc.eGPS);
  tc.RecPosFCG_ROVER = xyz2flh(tc.RecPosFC_ROVER, tc.eGPS);
  tc.RecMag_BASE = tc.RecPosFC_BASE.GetLength();
  tc.RecMag_ROVER = tc.RecPosFC_ROVER.GetLength();
  tc.isGPS = tc.isGLN = tc.isGAL = true;
}

void PrepContext::SetGeometry(const std::function<xyz(short, long)>& satPos, const xyz& sun) {
  PhsDiffData& d = tc.sdd;
  const long n = d.nobs;
  tc.ELV.Resize(n, 2, 0.0L);
  tc.AZM.Resize(n, 2, 0.0L);
  tc.SAT_DIST.Resize(n, 2, 0.0L);
  tc.SAT_POS.Resize(n, 2, xyzt());
  tc.OKSAT.Resize(n, 1, true);
  tc.posSunUnit.Resize(d.neph, 1, sun.GetUnitVector());
  tc.SunMag.Resize(d.neph, 1, sun.GetLength());
  const xyz station[2] = {tc.RecPosFC_BASE, tc.RecPosFC_ROVER};
  for (long i = 0, r = 0; i < d.neph; ++i)
    for (long j = 0; j < d.nsat(i); ++j, ++r) {
      const xyz p = satPos(d.sat(r), i);
      for (int k = 0; k < 2; ++k) {
        tc.SAT_POS(r, k) = xyzt(p.GetX(), p.GetY(), p.GetZ(), 0.0L);
        long double e, a;
        SatelliteAzimuthElevation(station[k], tc.SAT_POS(r, k), tc.eGPS, e, a);
        tc.ELV(r, k) = e;
        tc.AZM(r, k) = a;
        tc.SAT_DIST(r, k) = p.GetLength();
      }
    }
}

xyz PrepContext::Orbit(short sat, long double t) {
  const long double r = 26600000.0L, u = 0.0005L * t + 0.3L * (sat % 7);
  const long double node = 0.9L * (sat % 5), inc = 0.96L;
  xyz p(r * std::cos(u), r * std::sin(u) * std::cos(inc), r * std::sin(u) * std::sin(inc));
  return p.RotateZ(node);
}

long PrepContext::Record(short sat, long epoch) const {
  long r = 0;
  for (long i = 0; i < epoch; ++i) r += tc.sdd.nsat(i);
  for (long j = 0; j < tc.sdd.nsat(epoch); ++j)
    if (tc.sdd.sat(r + j) == sat) return r + j;
  return -1;
}

std::string AntexLine(const std::string& content, const std::string& label) {
  std::string s = content;
  s.resize(60, ' ');
  return s + label + "\n";
}

std::string AntexHeader() {
  return AntexLine("     1.4            M", "ANTEX VERSION / SYST") +
         AntexLine("A", "PCV TYPE / REFANT") + AntexLine("", "END OF HEADER");
}

namespace {

std::string Numbers(const char* fmt, const double* v, int n) {
  std::string s;
  char buf[32];
  for (int i = 0; i < n; ++i) {
    std::snprintf(buf, sizeof buf, fmt, v[i]);
    s += buf;
  }
  return s;
}

std::string Frequency(const std::string& code, const double (&off)[3], const double (&pcv)[3]) {
  return AntexLine(code, "START OF FREQUENCY") +
         AntexLine(Numbers("%10.2f", off, 3), "NORTH / EAST / UP") + "   NOAZI" +
         Numbers("%8.2f", pcv, 3) + "\n" + AntexLine(code, "END OF FREQUENCY");
}

}  // namespace

std::string AntexReceiver(const std::string& type20, const double (&off1)[3],
                          const double (&pcv1)[3], const double (&off2)[3],
                          const double (&pcv2)[3]) {
  return AntexLine("", "START OF ANTENNA") + AntexLine(type20, "TYPE / SERIAL NO") +
         AntexLine("     0.0", "DAZI") + AntexLine("     0.0  90.0  45.0", "ZEN1 / ZEN2 / DZEN") +
         AntexLine("     2", "# OF FREQUENCIES") + Frequency("   G01", off1, pcv1) +
         Frequency("   G02", off2, pcv2) + AntexLine("", "END OF ANTENNA");
}

std::string AntexSatellite(const std::string& type20, const std::string& prn3,
                           const double (&off)[3], const double (&pcv)[3]) {
  const std::string sys(1, prn3[0]);
  const std::string f2 = prn3[0] == 'E' ? "7" : "2";
  return AntexLine("", "START OF ANTENNA") + AntexLine(type20 + prn3, "TYPE / SERIAL NO") +
         AntexLine("     0.0", "DAZI") + AntexLine("     0.0  14.0   7.0", "ZEN1 / ZEN2 / DZEN") +
         AntexLine("     2", "# OF FREQUENCIES") +
         AntexLine("  2000     1     1     0     0    0.0000000", "VALID FROM") +
         Frequency("   " + sys + "01", off, pcv) + Frequency("   " + sys + "0" + f2, off, pcv) +
         AntexLine("", "END OF ANTENNA");
}

}  // namespace preptest
