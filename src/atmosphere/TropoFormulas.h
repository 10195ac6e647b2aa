// Constants and formulas shared by the troposphere delay models and mapping functions.
#ifndef TERVAN_ATMOSPHERE_TROPOFORMULAS_H
#define TERVAN_ATMOSPHERE_TROPOFORMULAS_H

// Model selection codes.
namespace gTMns {
enum TropM { SAASTAMOINEN = 0, HOPFIELD = 1, GPT = 2, GPT2 = 3, VMF1TM = 4 };
enum MappF { NIELL = 0, CHAO = 1, DAVIS = 2, MARINI = 3, UNB3 = 4, VMF1 = 5, GPT2MF = 6 };
}  // namespace gTMns

// Standard atmosphere at the reference height.
namespace stdAtm {
const long double h0 = 0.0L;      // reference height [m]
const long double p0 = 1013.25L;  // pressure [hPa]
const long double T0 = 18.0L;     // temperature [deg C]
const long double H0 = 50.0L;     // relative humidity [%]
const long double e0 = 8.5L;      // water vapour pressure [hPa]
}  // namespace stdAtm

namespace tropns {
const long double pi = 3.141592653589793L;
const long double deg = pi / 180.0L;  // one degree [rad]
}  // namespace tropns

// Gravity factor 1 - 0.0026 cos(2 lat) - 0.00028 h[km] of the zenith delay models.
// lat: geodetic latitude [rad]; h: ellipsoidal height [m].
long double TropGravityFactor(long double lat, long double h);

// Continued fraction of the mapping functions:
// (1 + a/(1 + b/(1 + c))) / (sin E + a/(sin E + b/(sin E + c))); E: elevation [rad].
long double TropMappingFraction(long double E, long double a, long double b, long double c);

// The same from sin E: a mapping function evaluates its fractions at one elevation
// and takes the sine once.
long double TropMappingFractionSin(long double sE, long double a, long double b, long double c);

// Hydrostatic height correction (1/sin E - F(E; a, b, c)) * h[km] of Niell and VMF1;
// sE: sine of the elevation; h: ellipsoidal height [m]; a, b, c: height coefficients.
long double TropHeightCorrectionSin(long double sE, long double h, long double a, long double b,
                                    long double c);

// Day count of the seasonal terms (day 28 January 1980 = 0) from the integer MJD day.
long double TropSeasonDay(long mjday);

// Water vapour pressure [hPa] from relative humidity [%] and temperature [K].
long double TropVapourPressure(long double rh, long double TK);

// Zenith hydrostatic and wet delays [m] from pressure [hPa], temperature [K],
// vapour pressure [hPa] and gravity factor (the Saastamoinen formulas).
void TropSaastamoinenDelays(long double p, long double TK, long double e, long double g,
                            long double& tdry, long double& twet);

#endif
