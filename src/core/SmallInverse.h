// Inverse of a small dense matrix (the normal equations of a few unknowns, such
// as a polynomial in time with a step) by Gauss-Jordan elimination with row
// pivoting, on the stack.
#ifndef TERVAN_CORE_SMALLINVERSE_H
#define TERVAN_CORE_SMALLINVERSE_H

// Q = N^-1 for a 4 x 4 matrix; false (Q unspecified) when a pivot is not larger
// than `tiny` in magnitude (singular, or not finite).
bool Invert4(const long double N[4][4], long double Q[4][4], long double tiny);

#endif
