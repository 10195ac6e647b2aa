// Antenna calibrations of a scenario: a receiver antenna type for each station and
// one antenna per satellite, with offsets and variations as an ANTEX file gives
// them (values in the file's units, 0.01 mm, so that the file holds exactly the
// truth), and the range effects the simulator applies with them.
#ifndef TERVAN_SIM_ANTENNAS_H
#define TERVAN_SIM_ANTENNAS_H

#include <string>
#include <vector>

#include "sim/Geometry.h"
#include "sim/Scenario.h"

namespace sim {

class Constellation;

// Offset and variations of one carrier band of an antenna.
struct PcvPattern {
  Vec3 offset;  // m: north, east, up (receivers) or body x, y, z (satellites)
  long double zen1 = 0, zen2 = 90, dzen = 5;  // zenith or nadir nodes, degrees
  long double dazi = 0;                       // azimuth step, degrees; 0 = none
  std::vector<long double> noazi;             // m, per zenith node
  std::vector<std::vector<long double>> azi;  // m, [azimuth row][zenith node]

  // Variation (m) at a zenith or nadir angle and an azimuth (degrees), linear
  // between the nodes (bilinear with an azimuth table), the end values beyond.
  long double At(long double zenith, long double azimuth) const;
};

struct SimAntenna {
  std::string type;  // 20 characters: antenna and radome, or the satellite block
  std::string sat;   // "G05" for a satellite antenna, empty for a receiver antenna
  std::string svn, cospar;
  bool iir = false;    // GPS block IIR family
  PcvPattern band[2];  // L1/G1/E1 and L2/G2/E5b
};

class Antennas {
 public:
  Antennas() = default;
  explicit Antennas(const Constellation& sats);

  const SimAntenna& Receiver(Station st) const { return receivers_[st]; }
  const SimAntenna& Satellite(size_t sat) const { return satellites_[sat]; }

  // Range effect (m) of a station's antenna in band 0 or 1 for a satellite at
  // elevation and azimuth (rad): variation minus the offset along the line of sight.
  long double ReceiverEffect(Station st, int band, long double el, long double az) const;
  // Earth-fixed vector (m) from a satellite's centre of mass to its antenna phase centre.
  Vec3 SatelliteOffset(size_t sat, const Vec3& position, const Vec3& sun) const;
  // Variation (m) of a satellite antenna in a band at a nadir angle (rad).
  long double SatelliteVariation(size_t sat, int band, long double nadir) const;

  // The ANTEX 1.4 file of all antennas.
  std::string Antex() const;

 private:
  std::vector<SimAntenna> receivers_, satellites_;
};

}  // namespace sim

#endif
