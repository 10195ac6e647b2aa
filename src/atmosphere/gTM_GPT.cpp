#include "atmosphere/gTM_GPT.h"

#include <algorithm>
#include <cmath>

#include "atmosphere/GPTCoefficients.h"
#include "atmosphere/TropoFormulas.h"

gTM_GPT::gTM_GPT()
    : gHeight(0.0L),
      H(0.0L),
      apMean(0.0L),
      apAmp(0.0L),
      atMean(0.0L),
      atAmp(0.0L),
      hEll(0.0L),
      lat(0.0L) {
  std::copy(gptns::aG, gptns::aG + N, aG);
  std::copy(gptns::bG, gptns::bG + N, bG);
  std::copy(gptns::apM, gptns::apM + N, apM);
  std::copy(gptns::bpM, gptns::bpM + N, bpM);
  std::copy(gptns::apA, gptns::apA + N, apA);
  std::copy(gptns::bpA, gptns::bpA + N, bpA);
  std::copy(gptns::atM, gptns::atM + N, atM);
  std::copy(gptns::btM, gptns::btM + N, btM);
  std::copy(gptns::atA, gptns::atA + N, atA);
  std::copy(gptns::btA, gptns::btA + N, btA);
}

void gTM_GPT::SetAtmParams(long double flat, long double flon, long double h) {
  // Legendre functions P(i, j) of t = sin(lat), without the Condon-Shortley phase.
  const long double t = std::sin(flat);
  long double fact[2 * n + 2];
  fact[0] = 1.0L;
  for (int k = 1; k < 2 * n + 2; k++) fact[k] = fact[k - 1] * k;

  long double aP[N], bP[N];
  int term = 0;
  for (int i = 0; i <= n; i++) {
    for (int j = 0; j <= std::min(i, m); j++) {
      long double sum = 0.0L;
      for (int k = 0; k <= (i - j) / 2; k++) {
        const long double sign = (k % 2 == 0) ? 1.0L : -1.0L;
        sum += sign * fact[2 * i - 2 * k] / (fact[k] * fact[i - k] * fact[i - j - 2 * k]) *
               std::pow(t, static_cast<long double>(i - j - 2 * k));
      }
      const long double P =
          std::pow(2.0L, -static_cast<long double>(i)) * std::sqrt(std::pow(1.0L - t * t, j)) * sum;
      aP[term] = P * std::cos(j * flon);
      bP[term] = P * std::sin(j * flon);
      term++;
    }
  }

  gHeight = apMean = apAmp = atMean = atAmp = 0.0L;
  for (int k = 0; k < N; k++) {
    gHeight += aG[k] * aP[k] + bG[k] * bP[k];
    apMean += apM[k] * aP[k] + bpM[k] * bP[k];
    apAmp += apA[k] * aP[k] + bpA[k] * bP[k];
    atMean += atM[k] * aP[k] + btM[k] * bP[k];
    atAmp += atA[k] * aP[k] + btA[k] * bP[k];
  }
  H = h - gHeight;
  hEll = h;
  lat = flat;
}

long double gTM_GPT::SeasonCos(long mjday) const {
  return std::cos(2.0L * tropns::pi * TropSeasonDay(mjday) / 365.25L);
}

long double gTM_GPT::GetPressure(long mjday) const {
  return (apMean + apAmp * SeasonCos(mjday)) * std::pow(1.0L - 2.26e-5L * H, 5.225L);
}

long double gTM_GPT::GetTemperature(long mjday) const {
  return atMean + atAmp * SeasonCos(mjday) - 0.0065L * H;
}

void gTM_GPT::GetZenithDelay(long mjday, long double& tdry, long double& twet) const {
  const long double p = GetPressure(mjday);
  const long double TK = GetTemperature(mjday) + 273.16L;
  const long double rh = stdAtm::H0 * std::exp(-0.0006369L * (hEll - stdAtm::h0));
  const long double e = TropVapourPressure(rh, TK);
  TropSaastamoinenDelays(p, TK, e, TropGravityFactor(lat, hEll), tdry, twet);
}
