// Satellite positions and clocks for the point positioning of the converter.
#ifndef TERVAN_TOOLS_SDIFF_ORBITSOURCE_H
#define TERVAN_TOOLS_SDIFF_ORBITSOURCE_H

#include "gnss/mjd.h"
#include "gnss/xyz.h"

class OrbitSource {
 public:
  virtual ~OrbitSource() = default;
  // Earth-fixed position [m] at the GPS-time epoch t and clock offset [s] (relativistic
  // clock term included) of a satellite (program numbering); false when the source
  // has nothing usable for it at t.
  virtual bool State(short sat, const mjd& t, xyz& position, long double& clock) = 0;
  // The state at the emission of a signal that left at te by the satellite's clock:
  // its clock offset at te, then the state at te minus that offset, as two calls of
  // State do. False when one of them fails or the first clock offset is not below a
  // second; position then holds what those calls left in it.
  virtual bool EmissionState(short sat, const mjd& te, xyz& position, long double& clock);
  // Frequency channel of a GLONASS satellite; false when the source does not know it.
  virtual bool GlonassChannel(short /*sat*/, const mjd& /*t*/, int& /*channel*/) { return false; }
};

// Delays of the signal path for the point positioning.
class DelayModel {
 public:
  virtual ~DelayModel() = default;
  // Slant troposphere delay [m]: geodetic latitude [rad] and ellipsoidal height [m] of
  // the station, elevation [rad], MJD day.
  virtual long double Troposphere(long double lat, long double height, long double elevation,
                                  long mjdDay) = 0;
  // True when an ionosphere model for single-frequency code is available.
  virtual bool HasIonosphere() const = 0;
  // Ionosphere delay of GPS L1 code [m]: latitude, longitude [rad], elevation and
  // azimuth [rad] of the satellite, GPS seconds of day [s].
  virtual long double IonosphereL1(long double lat, long double lon, long double elevation,
                                   long double azimuth, long double secondOfDay) = 0;
};

#endif
