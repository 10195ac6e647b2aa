// The eight observation types of the static solution, with the members of the run
// context that belong to each: switch, misclosures, used and excluded flags,
// a-posteriori variance and code-bias tables. The index of a type is its code in the
// residual file and its place in the order in which an observation's types are
// processed: C1, P1, P2 (C7), Pc3, Pp3, L3, L1, L2 (L7).
#ifndef TERVAN_ESTIMATION_OBSTYPES_H
#define TERVAN_ESTIMATION_OBSTYPES_H

#include "driver/TervanC.h"

enum ObsTypeCode { tC1 = 0, tP1, tP2, tPc3, tPp3, tL3, tL1, tL2, NObsTypes };

struct ObsTypeDef {
  bool TervanC::*on;                      // observation type chosen
  matrix<long double> TervanC::*f;        // misclosures (metres)
  matrix<bool> TervanC::*used;            // used by a solution
  matrix<bool> TervanC::*excl;            // excluded as an outlier
  long double TervanC::*variance;         // a-posteriori variance (m^2)
  bool TervanC::*dcbOn;                   // code bias estimated (nullptr for phases)
  matrix<long double> TervanC::*dcb;      // code-bias estimates per satellite
  matrix<long> TervanC::*dcbIndex;        // code-bias unknowns per satellite
  bool (PhsDiffHeader::*inFile)() const;  // the file holds the type
  bool phase;
  const char* outlierLabel;  // misclosure test message
  const char* sigmaLabel;    // report line of the a-posteriori sigma
  const char* verboseLabel;  // the same on standard error
};

extern const ObsTypeDef ObsTypes[NObsTypes];

// Order of the report lines and of the residual check: C1, P1, P2, Pc3, Pp3, L1, L2, L3.
extern const int TypePrintOrder[NObsTypes];

// The satellite's system (0 GPS, 1 GLONASS, 2 Galileo) when it is processed, else -1.
int SystemOf(const TervanC& tc, short sat);

#endif
