// Published coefficient tables of the global pressure and temperature model GPT.
#ifndef TERVAN_ATMOSPHERE_GPTCOEFFICIENTS_H
#define TERVAN_ATMOSPHERE_GPTCOEFFICIENTS_H

namespace gptns {
const int kGPTTerms = 55;  // terms up to degree and order 9

extern const long double aG[kGPTTerms];   // geoid undulation, cosine terms [m]
extern const long double bG[kGPTTerms];   // geoid undulation, sine terms [m]
extern const long double apM[kGPTTerms];  // mean pressure, cosine terms [hPa]
extern const long double bpM[kGPTTerms];  // mean pressure, sine terms [hPa]
extern const long double apA[kGPTTerms];  // annual pressure amplitude, cosine terms [hPa]
extern const long double bpA[kGPTTerms];  // annual pressure amplitude, sine terms [hPa]
extern const long double atM[kGPTTerms];  // mean temperature, cosine terms [deg C]
extern const long double btM[kGPTTerms];  // mean temperature, sine terms [deg C]
extern const long double atA[kGPTTerms];  // annual temperature amplitude, cosine terms [deg C]
extern const long double btA[kGPTTerms];  // annual temperature amplitude, sine terms [deg C]
}  // namespace gptns

#endif
