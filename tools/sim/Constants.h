// Physical constants of the simulator. Orbit constants are those the broadcast
// navigation messages are defined with, so that the records written reproduce
// the simulated orbits.
#ifndef TERVAN_SIM_CONSTANTS_H
#define TERVAN_SIM_CONSTANTS_H

namespace sim {

constexpr long double kPi = 3.141592653589793L;
constexpr long double kC = 299792458.0L;             // speed of light, m/s
constexpr long double kDeg = kPi / 180.0L;           // radians per degree
constexpr long double kGmKepler = 3.986005e14L;      // GPS broadcast GM, m^3/s^2
constexpr long double kGmGalileo = 3.986004418e14L;  // Galileo broadcast GM, m^3/s^2
constexpr long double kOmegaKepler =
    7.2921151467e-5L;                                // Earth rotation of the Kepler records, rad/s
constexpr long double kGmGlonass = 3.9860044e14L;    // PZ-90 GM, m^3/s^2
constexpr long double kOmegaGlonass = 7.292115e-5L;  // PZ-90 Earth rotation, rad/s
constexpr long double kAeGlonass = 6378136.0L;       // PZ-90 equatorial radius, m
constexpr long double kC20Glonass = -1.08263e-3L;    // PZ-90 second zonal harmonic
constexpr long double kGmShapiro = 3.986004418e14L;  // GM for the relativistic path delay
constexpr long double kWgs84A = 6378137.0L;          // WGS84 semi-major axis, m
constexpr long double kWgs84F = 1.0L / 298.257223563L;

// Carrier frequencies, Hz.
constexpr long double kFreqL1 = 1575.42e6L;                     // GPS L1, Galileo E1
constexpr long double kFreqL2 = 1227.60e6L;                     // GPS L2
constexpr long double kFreqE5b = 1207.14e6L;                    // Galileo E5b
constexpr long double kGloF1 = 1602.0e6L, kGloDF1 = 0.5625e6L;  // GLONASS G1 base and step
constexpr long double kGloF2 = 1246.0e6L, kGloDF2 = 0.4375e6L;  // GLONASS G2 base and step

}  // namespace sim

#endif
