#include "atmosphere/gTropModel.h"

#include <cstring>

#include "core/ProgramError.h"

namespace {
const char* const kCls = "gTropModel";
}

gTropModel::gTropModel() : TropM(gTMns::SAASTAMOINEN), MappF(gTMns::NIELL), IntT(0) {}

void gTropModel::SetTropModel(short code) {
  TropM = code;
  if (code < gTMns::SAASTAMOINEN || code > gTMns::VMF1TM) {
    ClassWarning(kCls, "TROPOSPHERE MODEL NOT SET CORRECTLY - USING DEFAULT: SAASTAMOINEN!");
    TropM = gTMns::SAASTAMOINEN;
  }
}

void gTropModel::SetMappFunction(short code) {
  MappF = code;
  if (code < gTMns::NIELL || code > gTMns::GPT2MF) {
    ClassWarning(kCls, "TROPOSPHERE MAPPING FUNCTION NOT SET CORRECTLY - USING DEFAULT: NIELL!");
    MappF = gTMns::NIELL;
  }
}

void gTropModel::SetFile(const char* name) {
  if (TropM == gTMns::VMF1TM) tVmf1.SetFile(name);
  if (TropM == gTMns::GPT2) tGPT2.SetFile(name);
  if (MappF == gTMns::VMF1) mVmf1.SetFile(name);
}

void gTropModel::ReadFile() {
  if (TropM == gTMns::VMF1TM) tVmf1.ReadFile();
  if (TropM == gTMns::GPT2) tGPT2.ReadFile();
  if (MappF == gTMns::VMF1) mVmf1.ReadFile();
}

void gTropModel::SetPoint(const char* station) {
  if (TropM == gTMns::VMF1TM) tVmf1.SetPoint(station);
  if (MappF == gTMns::VMF1) mVmf1.SetPoint(station);
}

void gTropModel::SetAtmParams(const flh& pos) {
  const long double f = pos.GetF(), l = pos.GetL(), h = pos.GetH();
  switch (TropM) {
    case gTMns::SAASTAMOINEN:
      tSaas.SetAtmParams(f, h);
      break;
    case gTMns::HOPFIELD:
      tHopf.SetAtmParams(f, h);
      break;
    case gTMns::GPT:
      tGPT.SetAtmParams(f, l, h);
      break;
    case gTMns::GPT2:
      tGPT2.SetAtmParams(f, l, h);
      break;
    case gTMns::VMF1TM:
      break;
    default:
      ClassWarning(kCls, "TROPOSHPERE MODEL NOT SELECTED!");
  }
  switch (MappF) {
    case gTMns::NIELL:
      mNiell.SetAtmParams(f, h);
      break;
    case gTMns::MARINI:
      mMarini.SetAtmParams(f, h);
      break;
    case gTMns::UNB3:
      mUnb3.SetAtmParams(f, h);
      break;
    case gTMns::CHAO:
    case gTMns::DAVIS:
    case gTMns::VMF1:
    case gTMns::GPT2MF:
      break;
    default:
      ClassWarning(kCls, "TROPOSHPERE MAPPING FUNCTION NOT SELECTED!");
  }
}

void gTropModel::GetZenithDelay(gTropDelay& td, const flh&, const mjd& t) {
  const long day = static_cast<long>(t.GetMJDay());
  long double dry = 0.0L, wet = 0.0L;
  switch (TropM) {
    case gTMns::SAASTAMOINEN:
      tSaas.GetZenithDelay(dry, wet);
      break;
    case gTMns::HOPFIELD:
      tHopf.GetZenithDelay(dry, wet);
      break;
    case gTMns::GPT:
      tGPT.GetZenithDelay(day, dry, wet);
      break;
    case gTMns::GPT2:
      tGPT2.GetZenithDelay(day, dry, wet);
      break;
    case gTMns::VMF1TM:
      tVmf1.GetZenithDelay(t.GetMJDDec(), dry, wet);
      break;
    default:
      break;
  }
  td.SetZenithDelay(dry, wet);
}

void gTropModel::GetMappFunction(gTropDelay& td, const flh& pos, const mjd& t, long double E) {
  const long day = static_cast<long>(t.GetMJDay());
  const long double f = pos.GetF(), h = pos.GetH();
  long double dry = 1.0L, wet = 1.0L;
  switch (MappF) {
    case gTMns::NIELL:
      mNiell.GetMappFunction(day, h, E, dry, wet);
      break;
    case gTMns::CHAO:
      mChao.GetMappFunction(E, dry, wet);
      break;
    case gTMns::DAVIS:
      mDavis.GetMappFunction(E, dry, wet);
      break;
    case gTMns::MARINI:
      mMarini.GetMappFunction(E, dry, wet);
      break;
    case gTMns::UNB3:
      mUnb3.GetMappFunction(E, dry, wet);
      break;
    case gTMns::VMF1:
      mVmf1.GetMappFunction(t.GetMJDDec(), day, f, h, E, dry, wet);
      break;
    case gTMns::GPT2MF: {
      // The coefficients a exist only when the zenith delays come from GPT2.
      const bool gpt2 = TropM == gTMns::GPT2;
      const long double ah = gpt2 ? tGPT2.GetCoeffAH() : 0.0L;
      const long double aw = gpt2 ? tGPT2.GetCoeffAW() : 0.0L;
      mVmf1.vmf1_ht(ah, aw, day, f, h, E, dry, wet);
      break;
    }
    default:
      break;
  }
  td.SetMappFunction(dry, wet);
}

void gTropModel::GetTropModel(char* name) const {
  static const char* const names[] = {"Saastamoinen", "Hopfield", "GPT", "GPT2", "VIENNA"};
  const bool known = TropM >= gTMns::SAASTAMOINEN && TropM <= gTMns::VMF1TM;
  std::strcpy(name, known ? names[TropM] : " *** No troposphere model used");
}

void gTropModel::GetTropMappF(char* name) const {
  static const char* const names[] = {"Niell", "Chao", "Davis", "Marini", "UNB3", "VMF1", "GPT2"};
  const bool known = MappF >= gTMns::NIELL && MappF <= gTMns::GPT2MF;
  std::strcpy(name, known ? names[MappF] : " *** No troposphere mapping function used");
}
