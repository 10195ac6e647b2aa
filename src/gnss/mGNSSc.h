// Carrier constants of GPS, GLONASS and Galileo, the per-slot GLONASS tables and
// the current combination coefficients.
//
// Frequencies in Hz, wavelengths in metres, c = 299792458 m/s in every system.
// The pair used for combinations is L1/L2 for GPS, G1/G2 for GLONASS and E1/E5b
// for Galileo.
#ifndef TERVAN_GNSS_MGNSSC_H
#define TERVAN_GNSS_MGNSSC_H

#include "core/matrix.h"

namespace GNSSc {
inline constexpr long double c = 299792458.0L;  // speed of light, m/s
}

namespace GPSc {
inline constexpr long double c = GNSSc::c;
inline constexpr long double freq0 = 10230000.0L;
inline constexpr long double freq1 = 1575420000.0L;
inline constexpr long double freq2 = 1227600000.0L;
inline constexpr long double freq5 = 1176450000.0L;
inline constexpr long double lamb0 = c / freq0;
inline constexpr long double lamb1 = c / freq1;
inline constexpr long double lamb2 = c / freq2;
inline constexpr long double lamb5 = c / freq5;
inline constexpr long double lamWL = c / (freq1 - freq2);
inline constexpr long double lamNL = c / (freq1 + freq2);
inline constexpr long double LCion1 = freq1 * freq1 / (freq1 * freq1 - freq2 * freq2);
inline constexpr long double LCion2 = freq2 * freq2 / (freq1 * freq1 - freq2 * freq2);
inline constexpr long double LCwl1 = 77.0L / 17.0L;   // f1 / (f1 - f2)
inline constexpr long double LCwl2 = 60.0L / 17.0L;   // f2 / (f1 - f2)
inline constexpr long double LCnl1 = 77.0L / 137.0L;  // f1 / (f1 + f2)
inline constexpr long double LCnl2 = 60.0L / 137.0L;  // f2 / (f1 + f2)
inline constexpr long double alpha = (freq1 / freq2) * (freq1 / freq2);
inline constexpr long double f1_f2 = freq1 / freq2;
}  // namespace GPSc

namespace GLONASSc {
inline constexpr long double c = GNSSc::c;
inline constexpr long double freq0 = 178000000.0L;
inline constexpr long double freq10 = 1602000000.0L;  // G1 of channel 0
inline constexpr long double dfreq10 = 562500.0L;     // G1 channel step
inline constexpr long double freq20 = 1246000000.0L;  // G2 of channel 0
inline constexpr long double dfreq20 = 437500.0L;     // G2 channel step
inline constexpr long double freq3 = 1202025000.0L;
inline constexpr long double lamb10 = c / freq10;
inline constexpr long double lamb20 = c / freq20;
inline constexpr long double lamb3 = c / freq3;
// Coefficients of the nominal frequency ratio 9/7.
inline constexpr long double LCion1 = 81.0L / 32.0L;
inline constexpr long double LCion2 = 49.0L / 32.0L;
inline constexpr long double LCwl1 = 4.5L;
inline constexpr long double LCwl2 = 3.5L;
inline constexpr long double LCnl1 = 0.5625L;
inline constexpr long double LCnl2 = 0.4375L;
inline constexpr long double alpha = 81.0L / 49.0L;
inline constexpr long double f1_f2 = 9.0L / 7.0L;

inline constexpr long kSlots = 32;  // table rows, row = slot - 1

// Per-slot tables, zero until SetFrequency fills a row:
extern matrix<long double> freq;    // 32 x 2: G1, G2 (Hz)
extern matrix<long double> lamb;    // 32 x 2: G1, G2 wavelengths (m)
extern matrix<long double> lambWL;  // 32 x 1: wide-lane wavelength (m)
extern matrix<long double> lambNL;  // 32 x 1: narrow-lane wavelength (m)
extern matrix<long double> alphaG;  // 32 x 2: (GPS L1 frequency / f)^2 for G1, G2

// Fills row (slot - 1) for frequency channel k.
void SetFrequency(long double k, short row);

// Wavelength of carrier j (0 = G1, 1 = G2) of a GLONASS satellite number
// (101 -> row 0); 0 when the slot lies outside the table.
long double SatLambda(short sat, int j);
}  // namespace GLONASSc

namespace GALILEOc {
inline constexpr long double c = GNSSc::c;
inline constexpr long double freq0 = 10230000.0L;
inline constexpr long double freq1 = 1575420000.0L;  // E1
inline constexpr long double freq2 = 1207140000.0L;  // E5b
inline constexpr long double freq5 = 1176450000.0L;  // E5a
inline constexpr long double freq8 = 1191795000.0L;  // E5 (a+b)
inline constexpr long double lamb0 = c / freq0;
inline constexpr long double lamb1 = c / freq1;
inline constexpr long double lamb2 = c / freq2;
inline constexpr long double lamb5 = c / freq5;
inline constexpr long double lamb8 = c / freq8;
inline constexpr long double lamWL = c / (freq1 - freq2);
inline constexpr long double lamNL = c / (freq1 + freq2);
inline constexpr long double LCion1 = freq1 * freq1 / (freq1 * freq1 - freq2 * freq2);
inline constexpr long double LCion2 = freq2 * freq2 / (freq1 * freq1 - freq2 * freq2);
inline constexpr long double LCwl1 = 77.0L / 18.0L;
inline constexpr long double LCwl2 = 59.0L / 18.0L;
inline constexpr long double LCnl1 = 77.0L / 136.0L;
inline constexpr long double LCnl2 = 59.0L / 136.0L;
inline constexpr long double alpha = (freq1 / freq2) * (freq1 / freq2);
inline constexpr long double f1_f2 = freq1 / freq2;
}  // namespace GALILEOc

// Current combination coefficients (GPS values at start). The combination
// functions read them; the data operations switch them to a satellite's system
// before each use and they keep the last values afterwards.
namespace GLC {
extern long double LCion1, LCion2, LCwl1, LCwl2, LCnl1, LCnl2;
extern long double lamb1, lamb2, lamb5, lamb3, lamb8, alpha;

// Loads LCion1/2, LCwl1/2, LCnl1/2, lamb1, lamb2 with the values of one system.
void SetGPS();
void SetGLONASS(short sat);  // wavelengths from the satellite's GLONASSc::lamb row
void SetGALILEO();
// By satellite number: GLONASS numbers get the GLONASS set, Galileo numbers the
// Galileo set when galileoOwn, every other number the GPS set.
void SetForSatellite(short sat, bool galileoOwn);
}  // namespace GLC

#endif
