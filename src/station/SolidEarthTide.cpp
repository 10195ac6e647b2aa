#include "station/SolidEarthTide.h"

#include <cmath>

#include "gnss/TimeConverse.h"
#include "station/TideTables.h"

namespace {

const long double kPi = 3.141592653589793L;
const long double kDeg2Rad = kPi / 180.0L;

// value(T) = c0 + c1 T + c2 T^2 + c3 T^3 + c4 T^4, in degrees.
long double Poly(long double T, long double c0, long double c1, long double c2, long double c3,
                 long double c4) {
  return c0 + (c1 + (c2 + (c3 + c4 * T) * T) * T) * T;
}

// The fundamental arguments of the step-2 corrections, degrees modulo 360.
struct StepTwoArguments {
  long double tau, s, h, p, zns, ps;
  StepTwoArguments(long double T, long double fhr) {
    const long double s0 = Poly(T, 218.31664563L, 481267.88194L, -0.0014663889L, 0.00000185139L, 0);
    tau = std::fmod(
        Poly(T, 280.4606184L, 36000.7700536L, 0.00038793L, -0.0000000258L, 0) + 15.0L * fhr - s0,
        360.0L);
    s = std::fmod(s0 + Poly(T, 0, 1.396971278L, 0.000308889L, 0.000000021L, 0.000000007L), 360.0L);
    h = std::fmod(
        Poly(T, 280.46645L, 36000.7697489L, 0.00030322222L, 0.000000020L, -0.00000000654L), 360.0L);
    p = std::fmod(
        Poly(T, 83.35324312L, 4069.01363525L, -0.01032172222L, -0.0000124991L, 0.00000005263L),
        360.0L);
    zns = std::fmod(
        Poly(T, 234.95544499L, 1934.13626197L, -0.00207561111L, -0.00000213944L, 0.00000001650L),
        360.0L);
    ps = std::fmod(
        Poly(T, 282.93734098L, 1.71945766667L, 0.00045688889L, -0.00000001778L, -0.00000000334L),
        360.0L);
  }
  // Argument of one table row (multipliers of s, h, p, N', ps in columns 0-4), degrees.
  long double Row(const matrix<long double>& tab, long k) const {
    return tab(k, 0) * s + tab(k, 1) * h + tab(k, 2) * p + tab(k, 3) * zns + tab(k, 4) * ps;
  }
};

}  // namespace

SolidEarthTide::SolidEarthTide()
    : RSUN(0),
      RMON(0),
      RSTA(0),
      H20(0.6078L),
      L20(0.0847L),
      H3(0.292L),
      L3(0.015L),
      MASS_RATIO_SUN(332946.0482L),
      MASS_RATIO_MOON(0.0123000371L),
      RE(6378136.6L),
      SINPHI(0),
      COSPHI(0),
      SINLA(0),
      COSLA(0),
      DHI(0),
      DLI(0),
      L1D(0),
      L1SD(0),
      FAC2SUN(0),
      FAC2MON(0),
      FAC3SUN(0),
      FAC3MON(0),
      T(0),
      DATDIU(31, 9),
      DATLON(5, 9),
      twopi(2.0L * kPi) {
  for (long i = 0; i < 31; i++)
    for (long j = 0; j < 9; j++) DATDIU(i, j) = tidetables::kDiurnal[i][j];
  for (long i = 0; i < 5; i++)
    for (long j = 0; j < 9; j++) DATLON(i, j) = tidetables::kLongPeriod[i][j];
}

void SolidEarthTide::SetSunPosition(const xyz& unit, long double distance) {
  XSUN = unit;
  RSUN = distance;
}

void SolidEarthTide::SetMoonPosition(const xyz& unit, long double distance) {
  XMON = unit;
  RMON = distance;
}

void SolidEarthTide::SetStaPosition(const xyz& unit, long double distance) {
  XSTA = unit;
  RSTA = distance;
  SINPHI = unit.GetZ();
  COSPHI = std::sqrt(unit.GetX() * unit.GetX() + unit.GetY() * unit.GetY());
  // On the pole itself the longitude is free; the zero meridian is taken.
  SINLA = COSPHI > 0 ? unit.GetY() / COSPHI : 0.0L;
  COSLA = COSPHI > 0 ? unit.GetX() / COSPHI : 1.0L;
}

long double SolidEarthTide::Centuries(const mjd& t) {
  mjd e(t);
  const long double tt_gps = LeapSecond(e) + 19.0L + 32.184L;
  return (t.GetMJDDec() - 51544.5L) / 36525.0L + tt_gps / 3155760000.0L;
}

xyz SolidEarthTide::LocalToGlobal(long double dr, long double dn, long double de) const {
  return xyz(dr * COSLA * COSPHI - de * SINLA - dn * SINPHI * COSLA,
             dr * SINLA * COSPHI + de * COSLA - dn * SINPHI * SINLA, dr * SINPHI + dn * COSPHI);
}

xyz SolidEarthTide::Step1Body(const xyz& body, long double fac2, long double fac3, long double h2,
                              long double l2) const {
  const long double sc = body * XSTA;
  const long double p2 = 3.0L * (h2 / 2.0L - l2) * sc * sc - h2 / 2.0L;
  const long double x2 = 3.0L * l2 * sc;
  const long double p3 = 2.5L * (H3 - 3.0L * L3) * sc * sc * sc + 1.5L * (L3 - H3) * sc;
  const long double x3 = 1.5L * L3 * (5.0L * sc * sc - 1.0L);
  return fac2 * (x2 * body + p2 * XSTA) + fac3 * (x3 * body + p3 * XSTA);
}

void SolidEarthTide::GetDisplacement(const mjd& t, xyz& d) {
  FAC2SUN = MASS_RATIO_SUN * RE * std::pow(RE / RSUN, 3.0L);
  FAC2MON = MASS_RATIO_MOON * RE * std::pow(RE / RMON, 3.0L);
  FAC3SUN = FAC2SUN * RE / RSUN;
  FAC3MON = FAC2MON * RE / RMON;
  const long double p = 1.0L - 1.5L * COSPHI * COSPHI;
  const long double h2 = H20 - 0.0006L * p;
  const long double l2 = L20 + 0.0002L * p;
  d = Step1Body(XSUN, FAC2SUN, FAC3SUN, h2, l2) + Step1Body(XMON, FAC2MON, FAC3MON, h2, l2);
  d += ST1IDIU(FAC2SUN, FAC2MON);
  d += ST1ISEM(FAC2SUN, FAC2MON);
  d += ST1L1(FAC2SUN, FAC2MON);
  T = Centuries(t);
  d += STEP2DIU(T, t.GetSecond() / 3600.0L);
  d += STEP2LON(T);
}

xyz SolidEarthTide::ST1IDIU(long double fac2sun, long double fac2mon) {
  DHI = -0.0025L;
  DLI = -0.0007L;
  long double dr = 0, dn = 0, de = 0;
  const long double cos2phi = COSPHI * COSPHI - SINPHI * SINPHI;
  for (int b = 0; b < 2; b++) {
    const xyz& u = b == 0 ? XSUN : XMON;
    const long double fac = b == 0 ? fac2sun : fac2mon;
    const long double a = u.GetZ() * (u.GetX() * SINLA - u.GetY() * COSLA);
    const long double c = u.GetZ() * (u.GetX() * COSLA + u.GetY() * SINLA);
    dr += -3.0L * DHI * SINPHI * COSPHI * fac * a;
    dn += -3.0L * DLI * cos2phi * fac * a;
    de += -3.0L * DLI * SINPHI * fac * c;
  }
  DXCOR = LocalToGlobal(dr, dn, de);
  return DXCOR;
}

xyz SolidEarthTide::ST1ISEM(long double fac2sun, long double fac2mon) {
  DHI = -0.0022L;
  DLI = -0.0007L;
  const long double c2la = COSLA * COSLA - SINLA * SINLA;
  const long double s2la = 2.0L * COSLA * SINLA;
  long double dr = 0, dn = 0, de = 0;
  for (int b = 0; b < 2; b++) {
    const xyz& u = b == 0 ? XSUN : XMON;
    const long double fac = b == 0 ? fac2sun : fac2mon;
    const long double a = u.GetX() * u.GetX() - u.GetY() * u.GetY();
    const long double c = 2.0L * u.GetX() * u.GetY();
    dr += -0.75L * DHI * COSPHI * COSPHI * fac * (a * s2la - c * c2la);
    dn += 1.5L * DLI * SINPHI * COSPHI * fac * (a * s2la - c * c2la);
    de += -1.5L * DLI * COSPHI * fac * (a * c2la + c * s2la);
  }
  DXCOR = LocalToGlobal(dr, dn, de);
  return DXCOR;
}

xyz SolidEarthTide::ST1L1(long double fac2sun, long double fac2mon) {
  L1D = 0.0012L;
  L1SD = 0.0024L;
  const long double cos2phi = COSPHI * COSPHI - SINPHI * SINPHI;
  const long double c2la = COSLA * COSLA - SINLA * SINLA;
  const long double s2la = 2.0L * COSLA * SINLA;
  long double dnd = 0, ded = 0, dns = 0, des = 0;
  for (int b = 0; b < 2; b++) {
    const xyz& u = b == 0 ? XSUN : XMON;
    const long double fac = b == 0 ? fac2sun : fac2mon;
    const long double zc = u.GetZ() * (u.GetX() * COSLA + u.GetY() * SINLA);
    const long double zs = u.GetZ() * (u.GetX() * SINLA - u.GetY() * COSLA);
    dnd += -L1D * SINPHI * SINPHI * fac * zc;
    ded += L1D * SINPHI * cos2phi * fac * zs;
    const long double a = u.GetX() * u.GetX() - u.GetY() * u.GetY();
    const long double c = 2.0L * u.GetX() * u.GetY();
    dns += -L1SD / 2.0L * SINPHI * COSPHI * fac * (a * c2la + c * s2la);
    des += -L1SD / 2.0L * SINPHI * SINPHI * COSPHI * fac * (a * s2la - c * c2la);
  }
  DXCOR = LocalToGlobal(0, 3.0L * dnd, 3.0L * ded) + LocalToGlobal(0, 3.0L * dns, 3.0L * des);
  return DXCOR;
}

xyz SolidEarthTide::STEP2DIU(long double centuries, long double fhr) {
  const StepTwoArguments arg(centuries, fhr);
  const long double zla = std::atan2(XSTA.GetY(), XSTA.GetX());
  const long double cos2phi = COSPHI * COSPHI - SINPHI * SINPHI;
  xyz sum(0, 0, 0);
  for (long k = 0; k < DATDIU.NRow(); k++) {
    const long double psi = (arg.tau + arg.Row(DATDIU, k)) * kDeg2Rad + zla;
    const long double sp = std::sin(psi), cp = std::cos(psi);
    const long double dr = 2.0L * SINPHI * COSPHI * (DATDIU(k, 5) * sp + DATDIU(k, 6) * cp);
    const long double dn = cos2phi * (DATDIU(k, 7) * sp + DATDIU(k, 8) * cp);
    const long double de = SINPHI * (DATDIU(k, 7) * cp - DATDIU(k, 8) * sp);
    sum += LocalToGlobal(dr, dn, de);
  }
  DXCOR = 0.001L * sum;
  return DXCOR;
}

xyz SolidEarthTide::STEP2LON(long double centuries) {
  const StepTwoArguments arg(centuries, 0);
  long double dr = 0, dn = 0;
  for (long k = 0; k < DATLON.NRow(); k++) {
    const long double th = arg.Row(DATLON, k) * kDeg2Rad;
    const long double st = std::sin(th), ct = std::cos(th);
    dr += (3.0L * SINPHI * SINPHI - 1.0L) / 2.0L * (DATLON(k, 5) * ct + DATLON(k, 7) * st);
    dn += 2.0L * COSPHI * SINPHI * (DATLON(k, 6) * ct + DATLON(k, 8) * st);
  }
  DXCOR = 0.001L * LocalToGlobal(dr, dn, 0);
  return DXCOR;
}
