#ifndef TERVAN_PREPROCESS_TERVAN_APPLYCORRECTIONS_H
#define TERVAN_PREPROCESS_TERVAN_APPLYCORRECTIONS_H

#include "driver/TervanC.h"

// Satellite geometry and model corrections of every observation record at both stations.
void ApplyCorrections(TervanC& tc);

// GLONASS frequency channel of every GLONASS satellite of the data, from the channel
// file or else from the GLONASS navigation records, into the per-slot tables. Without
// either source GLONASS phases cannot be used: the system is then switched off.
void SetGlonassFrequency(TervanC& tc);

// Satellite positions at emission (Earth-fixed frame of each station's reception
// epoch), elevations, azimuths, weights and model terms of every record, and the
// Sun per epoch.
void CalculateAE(TervanC& tc);

#endif
