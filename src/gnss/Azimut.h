// Direction angle of a horizontal vector.
#ifndef TERVAN_GNSS_AZIMUT_H
#define TERVAN_GNSS_AZIMUT_H

// Direction angle [rad, 0 <= A < 2 pi] of the vector from (x1, y1) to (x2, y2),
// measured from the second axis toward the first (from north toward east when
// the arguments are east, north). Components below 1e-14 count as zero; a zero
// vector gives 0.
long double Azimuth(long double x1, long double y1, long double x2, long double y2);

#endif
