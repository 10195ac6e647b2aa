#include "orbits/GLNbEph.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>

#include "core/ProgramError.h"
#include "gnss/TimeConverse.h"
#include "orbits/LightTime.h"
#include "orbits/NavFile.h"

namespace {
// Record values.
enum { TAUN = 0, GAMMAN, TFRAME, X, VX, AX, HEALTH, Y, VY, AY, CHANNEL, Z, VZ, AZ, AGE };
}  // namespace

GLNbEph::GLNbEph()
    : diffinterval(30.0L),
      nsatall(0),
      GMz(3.9860044e14L),
      OMEGAz(7.292115e-5L),
      aE(6378136.0L),
      C20(-1.08263e-3L),
      Relativity(0),
      x0(0),
      y0(0),
      z0(0),
      vx0(0),
      vy0(0),
      vz0(0),
      asx(0),
      asy(0),
      asz(0) {
  navig[0] = '\0';
  for (matrix<long double>* m : {&Xp, &Yp, &D1, &D2, &D3, &D4, &tmp}) m->Resize(6, 1, 0.0L);
}

void GLNbEph::SetFile(const char* name) {
  std::strncpy(navig, name, sizeof(navig) - 1);
  navig[sizeof(navig) - 1] = '\0';
}

void GLNbEph::ReadFile() {
  std::ifstream in(navig);
  if (!in) FileError("GLNbEph", "GLONAS NAVIGATION FILE CAN NOT BE OPENED!");
  const float version = navfile::ReadHeader(
      in, [this](const std::string& line, const std::string&) { return rhead.Label(line); },
      "GLNbEphHeader", "GLNbEphData");
  // Version 2 records carry no system letter: a GPS file would be read as state
  // vectors of nonsense.
  if (version < 3.0f && rhead.GetType()[0] == 'N')
    FileError("GLNbEphData", "RINEX NAVIGATION FILE OF GPS SATELLITES - RINEX TYPE IS 'N'!",
              "####");
  std::vector<navfile::Record> records =
      navfile::ReadRecords(in, version, 'R', 15, 4, "GLNbEphData");
  // The integration needs a position well away from the Earth's centre and no
  // farther than the navigation orbits (km).
  navfile::DropUnusable(
      records, 'R',
      [](const navfile::Record& r) {
        const long double radius = std::sqrt(r.values[X] * r.values[X] + r.values[Y] * r.values[Y] +
                                             r.values[Z] * r.values[Z]);
        return radius > 1000.0L && radius < 100000.0L;
      },
      "GLNbEphData");
  // Record epochs are UTC: they become GPS time.
  for (navfile::Record& r : records) {
    if (r.second > 0.01L) {
      char text[96];
      std::snprintf(
          text, sizeof(text),
          "GLONASS EPHEMERIS DATA: SATELLITE R%02d EPOCH SECONDS %5.1lf [NOT FULL MINUTES]", r.sat,
          static_cast<double>(r.second));
      ProgramWarning("Tervan", text);
    }
    r.epoch += static_cast<long double>(LeapSecond(r.epoch));
  }
  rdata.Set(records);
  nsatall = rdata.GetNRecords();
}

long GLNbEph::GetDataIndex(short sat, const mjd& t) {
  const long rec = rdata.Select(sat, t);
  if (rec < 0) {
    char text[96];
    std::snprintf(text, sizeof(text), "SAT: R%02d IS NOT LISTED IN GLONASS NAVIGATION FILE!!!",
                  sat);
    FileError("GLNbEph", text);
  }
  return rec;
}

long double GLNbEph::GetFreqChannel(short sat, const mjd& t) {
  return rdata.GetData(GetDataIndex(sat, t), CHANNEL);
}

void GLNbEph::PrintParameter(const char* name, long double value) const {
  navfile::PrintParameter("GLNbEph", name, value);
}

void GLNbEph::Derivative(const long double* x, long double* y, long double ax, long double ay,
                         long double az) const {
  const long double r2 = x[0] * x[0] + x[1] * x[1] + x[2] * x[2];
  const long double r = std::sqrt(r2);
  const long double r3 = r2 * r, r5 = r3 * r2;
  const long double mu = GMz, w = OMEGAz;
  const long double j = 1.5L * C20 * mu * aE * aE / r5;
  const long double zz = 5.0L * x[2] * x[2] / r2;
  y[0] = x[3];
  y[1] = x[4];
  y[2] = x[5];
  y[3] = -mu * x[0] / r3 + j * x[0] * (1.0L - zz) + w * w * x[0] + 2.0L * w * x[4] + ax;
  y[4] = -mu * x[1] / r3 + j * x[1] * (1.0L - zz) + w * w * x[1] - 2.0L * w * x[3] + ay;
  y[5] = -mu * x[2] / r3 + j * x[2] * (3.0L - zz) + az;
}

void GLNbEph::DiffEqTwoBody(const matrix<long double>& x, long double ax, long double ay,
                            long double az, matrix<long double>& y) const {
  long double xs[6], ys[6];
  for (int k = 0; k < 6; k++) xs[k] = x(k);
  Derivative(xs, ys, ax, ay, az);
  y.Resize(6, 1);
  for (int k = 0; k < 6; k++) y(k) = ys[k];
}

// Classical fourth-order Runge-Kutta steps of at most diffinterval from the
// record's reference epoch over dt seconds (negative backward in time).
void GLNbEph::Integrate(long rec, long double dt) {
  auto d = [this, rec](int k) { return rdata.GetData(rec, k) * 1000.0L; };
  long double s[6] = {d(X), d(Y), d(Z), d(VX), d(VY), d(VZ)};
  asx = d(AX);
  asy = d(AY);
  asz = d(AZ);
  const long double dir = dt >= 0 ? 1.0L : -1.0L;
  long double h = dir * diffinterval, tcur = 0.0L;
  long double k1[6], k2[6], k3[6], k4[6], w[6];
  int steps = 0;
  lastStep = 0;
  while (steps <= 1000) {
    if (std::fabs(dt - tcur) < std::fabs(h)) h = dt - tcur;
    if (dir * (tcur - dt) >= 0 || std::fabs(h) < 1e-8L) break;
    Derivative(s, k1, asx, asy, asz);
    for (int k = 0; k < 6; k++) w[k] = s[k] + h / 2 * k1[k];
    Derivative(w, k2, asx, asy, asz);
    for (int k = 0; k < 6; k++) w[k] = s[k] + h / 2 * k2[k];
    Derivative(w, k3, asx, asy, asz);
    for (int k = 0; k < 6; k++) w[k] = s[k] + h * k3[k];
    Derivative(w, k4, asx, asy, asz);
    for (int k = 0; k < 6; k++)
      s[k] += h / 6 * k1[k] + h / 3 * k2[k] + h / 3 * k3[k] + h / 6 * k4[k];
    tcur += h;
    lastStep = h;
    ++steps;
  }
  nSteps = steps;
  x0 = s[0];
  y0 = s[1];
  z0 = s[2];
  vx0 = s[3];
  vy0 = s[4];
  vz0 = s[5];
}

void GLNbEph::Evaluate(short sat, const mjd& t, long rec, xyzt& pos, xyzt& vel, short warn) {
  mjd tr = rdata.GetEpoch(rec);
  tr += rhead.GetTauC();
  const long double dt = t - tr;
  // Satellite clock offset: -TauN + GammaN (t - tb).
  long double clk = rdata.GetData(rec, TAUN) + rdata.GetData(rec, GAMMAN) * dt + rhead.GetTauC();
  if (warn && std::fabs(dt) > 960.0L) {
    const ymdhms c = mjd2ymdhms(t);
    char text[128];
    std::snprintf(text, sizeof(text),
                  "SAT: G%02d [%4d-%02d-%02d %02d:%02d:%04.1lf] -> DT = %5.2lf' PARAMETER TO BIG "
                  "[>16']",
                  sat, c.GetYear(), c.GetMonth(), c.GetDay(), c.GetHour(), c.GetMinute(),
                  static_cast<double>(c.GetSecond()), static_cast<double>(dt / 60.0L));
    ProgramWarning("Tervan", text);
  }
  Integrate(rec, dt);
  // The broadcast GLONASS clock already contains the periodic relativistic effect:
  // no 2 (r.v)/c^2 term is applied, so the term held for the callers is 0.
  Relativity = 0.0L;
  pos = xyzt(x0, y0, z0, clk);
  vel = xyzt(vx0, vy0, vz0, 0.0L);
}

void GLNbEph::CalcSatPosition(short sat, const mjd& t, const mjd& tindex, xyzt& pos, xyzt& vel,
                              short warn) {
  Evaluate(sat, t, GetDataIndex(sat, tindex), pos, vel, warn);
}

long double GLNbEph::CalcSatPosition(short sat, const mjd& t, const mjd& tindex,
                                     const xyz& receiver, xyzt& pos, xyzt& vel, short warn) {
  const long rec = GetDataIndex(sat, tindex);
  short quiet = warn;  // the record's validity is reported once per solution
  auto evaluate = [&](const mjd& te) {
    ephr = te;
    Evaluate(sat, te, rec, p0, v0, quiet);
    quiet = 0;
    return true;
  };
  bool exhausted = false;
  const long double rho = lighttime::Solve(t, receiver, OMEGAz, 500, evaluate, p0, &exhausted);
  if (exhausted)
    ClassWarning("GLNbEph", "GLNbEph::CalcSatPosition():      TO MANY ITERATIONS: > 500!!", true);
  pos = p0;
  vel = v0;
  return rho;
}

long double GLNbEph::CalcSatPosition(short sat, const mjd& t, const mjd& tindex,
                                     const xyz& receiver, xyzt& pos, xyzt& vel, short warn,
                                     const gnssobs& P) {
  const long double tau = P.GetObs() / lighttime::c;
  mjd te = t;
  te += -tau;
  CalcSatPosition(sat, te, tindex, pos, vel, warn);
  // The emission position turned into the Earth-fixed frame of the reception epoch.
  const xyz turned =
      lighttime::RotateAboutZ(xyz(pos.GetX(), pos.GetY(), pos.GetZ()), -OMEGAz * tau);
  pos = xyzt(turned.GetX(), turned.GetY(), turned.GetZ(), pos.GetT());
  return lighttime::Range(receiver, pos);
}
