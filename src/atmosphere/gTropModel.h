// Troposphere model of a run: one zenith delay model and one mapping function chosen by
// their codes (gTMns), evaluated per station and epoch.
//
// Per station and epoch: SetPoint (marker name), SetAtmParams (position), GetZenithDelay,
// GetMappFunction. The GPT2-based mapping function uses the coefficients a of the last GPT2
// zenith delay, so GetZenithDelay must come first.
//
// Where the chosen model cannot serve a station, the station gets Saastamoinen delays and
// the Niell mapping function instead, with one warning per station (on its first SetPoint):
// a VMF1 site file without the station's zenith delays or coefficients a. The GPT2 mapping
// function without GPT2 zenith delays has no coefficients a: Niell serves every station,
// with one warning.
#ifndef TERVAN_ATMOSPHERE_GTROPMODEL_H
#define TERVAN_ATMOSPHERE_GTROPMODEL_H

#include <set>
#include <string>

#include "atmosphere/TropoFormulas.h"
#include "atmosphere/gMF_Chao.h"
#include "atmosphere/gMF_Davis.h"
#include "atmosphere/gMF_Marini.h"
#include "atmosphere/gMF_Niell.h"
#include "atmosphere/gMF_UNB3.h"
#include "atmosphere/gMF_VMF1.h"
#include "atmosphere/gTM_GPT.h"
#include "atmosphere/gTM_GPT2.h"
#include "atmosphere/gTM_Hopfield.h"
#include "atmosphere/gTM_Saastamoinen.h"
#include "atmosphere/gTM_VMF1.h"
#include "atmosphere/gTropDelay.h"
#include "gnss/flh.h"
#include "gnss/mjd.h"

class gTropModel {
 public:
  gTropModel();

  void SetTropModel(short code);
  void SetMappFunction(short code);
  short GetTropModelCode() const { return TropM; }
  short GetMappFunctionCode() const { return MappF; }

  // The model file goes to every selected model that needs one; call after the selections.
  void SetFile(const char* name);
  void ReadFile();

  void SetPoint(const char* station);
  void SetAtmParams(const flh& pos);
  void GetZenithDelay(gTropDelay& td, const flh& pos, const mjd& t);
  void GetMappFunction(gTropDelay& td, const flh& pos, const mjd& t, long double E);
  // The same with the sine of the elevation at hand, sinE = sin(E).
  void GetMappFunction(gTropDelay& td, const flh& pos, const mjd& t, long double E,
                       long double sinE);

  // Printed names of the selected model and mapping function (buffers of 42 characters or
  // more).
  void GetTropModel(char* name) const;
  void GetTropMappF(char* name) const;

 private:
  // The mapping functions of elevation E (sinE its sine when known, else null).
  void Map(gTropDelay& td, const flh& pos, const mjd& t, long double E, const long double* sinE);

  short TropM;
  short MappF;
  short IntT;
  gTM_Hopfield tHopf;
  gTM_Saastamoinen tSaas;
  gTM_VMF1 tVmf1;
  gTM_GPT tGPT;
  gTM_GPT2 tGPT2;
  gMF_Chao mChao;
  gMF_Davis mDavis;
  gMF_Marini mMarini;
  gMF_UNB3 mUnb3;
  gMF_Niell mNiell;
  gMF_VMF1 mVmf1;

  // Fallbacks for stations the chosen model cannot serve.
  std::set<std::string> warnedPoints;  // stations whose fallback was announced
  bool warnedGpt2Mapping;              // the GPT2 mapping without GPT2 delays was announced
  bool ServesZenithDelay() const;
  bool ServesMappFunction();
};

#endif
