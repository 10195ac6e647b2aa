// A run context filled by hand for the preprocessing stage tests: a few epochs of
// single differences of chosen satellites between two stations about 10 km
// apart, with the per-record geometry the satellite stage leaves behind.
#ifndef TERVAN_TESTS_PREPROCESS_PREPCONTEXT_H
#define TERVAN_TESTS_PREPROCESS_PREPCONTEXT_H

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "driver/TervanC.h"
#include "gnss/xyz.h"

namespace preptest {

// BASE and ROVER antenna reference points, ECEF [m].
xyz BasePosition();
xyz RoverPosition();

class PrepContext {
 public:
  // neph epochs step seconds apart from MJD 61206 08:00, each holding one record
  // of every satellite, the header having the given observation types
  // (sdobs codes); every observation of the types is set to a non-zero value, different per type.
  PrepContext(const std::vector<short>& sats, long neph, long double step,
              std::initializer_list<int> types);
  // Satellite positions [m] per satellite and epoch, the same seen from both
  // stations; the Sun at sun [m] at every epoch. Fills the geometry matrices.
  void SetGeometry(const std::function<xyz(short sat, long epoch)>& satPos, const xyz& sun);
  // A position on a circle of 26600 km radius, a different plane per satellite,
  // moving 0.5 mrad/s.
  static xyz Orbit(short sat, long double t);
  // Record of a satellite at an epoch (-1 when none).
  long Record(short sat, long epoch) const;

  TervanC tc;
};

// One ANTEX line: content padded to 60 columns and the label.
std::string AntexLine(const std::string& content, const std::string& label);
std::string AntexHeader();
// A receiver antenna without azimuth dependence, zenith 0-90 by 45 degrees,
// G01 and G02 blocks: offsets north/east/up and variations in millimetres.
std::string AntexReceiver(const std::string& type20, const double (&off1)[3],
                          const double (&pcv1)[3], const double (&off2)[3],
                          const double (&pcv2)[3]);
// A satellite antenna ("G05" style number, type text of 20 characters), nadir
// 0-14 by 7 degrees, offset x/y/z and the same variations on both carriers [mm].
std::string AntexSatellite(const std::string& type20, const std::string& prn3,
                           const double (&off)[3], const double (&pcv)[3]);

}  // namespace preptest

#endif
