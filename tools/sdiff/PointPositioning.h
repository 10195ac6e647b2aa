// Code point positioning of one station, epoch by epoch: position and receiver clock
// from the ionosphere-free code where two frequencies exist (else single-frequency
// code with the ionosphere model when there is one), troposphere model, 10 degree elevation mask,
// elevation weights, one time offset per further system, and rejection of single
// bad satellites.
#ifndef TERVAN_TOOLS_SDIFF_POINTPOSITIONING_H
#define TERVAN_TOOLS_SDIFF_POINTPOSITIONING_H

#include <vector>

#include "gnss/flh.h"
#include "gnss/xyz.h"
#include "sdiff/NormalEquations.h"
#include "sdiff/OrbitSource.h"
#include "sdiff/RinexReader.h"

class PointPositioning {
 public:
  // Elevation mask [rad] (10 degrees) and largest accepted code residual [m].
  static constexpr long double kMask = 10.0L * 3.141592653589793L / 180.0L;
  static constexpr long double kMaxResidual = 30.0L;

  PointPositioning(const RinexHeader& header, OrbitSource& orbits, DelayModel& delays);

  // Solves one epoch: position [m] and receiver clock offset [s] against GPS time (the
  // first system present when there is no GPS satellite); false without a solution.
  bool Solve(const RinexEpoch& epoch, xyz& position, long double& clock);

  // Mean of the positions solved so far; false when there is none.
  bool MeanPosition(xyz& mean) const;
  long Solutions() const { return nSolved_; }

 private:
  // One satellite's code observable.
  struct Obs {
    short sat;
    int system;          // 0 GPS, 1 GLONASS, 2 Galileo
    long double code;    // [m], ionosphere-free or single frequency
    long double freq;    // frequency of a single-frequency code [Hz], 0 when ionosphere-free
    xyz sat0;            // satellite position at emission, before the Earth rotation [m]
    long double satClk;  // [s]
    bool usable;
    // Geometry toward the current position: range [m], vector to the turned
    // satellite [m], elevation [rad], weight, and the path delays [m] with the
    // position they were computed for.
    long double rho, toSat[3], elev, weight, delay;
    bool hasDelay;
    xyz delayPos;
    long delayFrame;  // the frame of delayPos
  };
  // Geodetic position and local north/east/up axes of the current position; both
  // are formed when a delay first needs them (most iterations keep the delays).
  struct Frame {
    bool near = false;  // the position is near the Earth's surface
    xyz pos;            // [m]
    bool hasGeo = false;
    flh geo;
    bool hasAxes = false;
    long double axes[3][3] = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    // Whether the delays formed in frame keptFrame are kept here: the satellites of
    // an epoch mostly share the frame of their delays.
    long id = 0;  // frames of one point positioning differ in it
    long keptFrame = 0;
    bool kept = false;
  };
  Frame MakeFrame(const xyz& pos);
  static const flh& Geo(Frame& f);
  static void SetAxes(Frame& f);
  // The delays of o formed at its delay position still hold at the frame's position.
  static bool KeepsDelay(const Obs& o, Frame& f);
  // The usable satellites of obs keep their delays in the near frame f and lie
  // within 1e9 m of the geocentre.
  static bool DelaysKept(const std::vector<Obs>& obs, Frame& f);
  void Geometry(Obs& o, const xyz& pos, Frame& f, const mjd& t);
  bool CodeOf(const SatObs& so, const mjd& t, Obs& obs) const;
  bool SatelliteStates(std::vector<Obs>& obs, const mjd& t, const xyz& pos, long double clk);
  // Least squares with the current satellite states; false when it fails.
  bool Adjust(std::vector<Obs>& obs, const mjd& t, xyz& pos, long double& clk, long double& worst,
              size_t& worstIndex);

  // A code of the station's type list: its index and carrier band (1, 2, 5 or 7).
  struct Choice {
    int index;
    int band;
  };
  static long double Frequency(int system, int band, int channel);
  // Codes of the two bands from the station's type lists.
  void SetChoices();

  const RinexHeader& header_;
  OrbitSource& orbits_;
  DelayModel& delays_;
  std::vector<Choice> first_[3], second_[3];     // per system: codes of two bands, best first
  std::vector<Obs> obs_;                         // observables of the epoch being solved
  std::vector<NormalEquations::RangeRow> rows_;  // their rows of the normal equations
  long typesVersion_ = 0;                        // type list version of the choices
  long frames_ = 0;                              // frames made so far
  xyz last_;                                     // previous solution: the start of the next one
  long double lastClock_ = 0.0L;
  bool haveLast_ = false;
  long double sum_[3] = {0, 0, 0};
  long nSolved_ = 0;
};

#endif
