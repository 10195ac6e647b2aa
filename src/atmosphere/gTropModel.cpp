#include "atmosphere/gTropModel.h"

#include <cstring>

#include "core/ProgramError.h"

namespace {
const char* const kCls = "gTropModel";
}

gTropModel::gTropModel()
    : TropM(gTMns::SAASTAMOINEN), MappF(gTMns::NIELL), IntT(0), warnedGpt2Mapping(false) {}

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
  const bool delays = TropM != gTMns::VMF1TM || tVmf1.Serves();
  const bool mapping = MappF != gTMns::VMF1 || mVmf1.Serves();
  if ((delays && mapping) || !warnedPoints.insert(station).second) return;
  const std::string what = !delays && !mapping ? "ZENITH DELAYS AND COEFFICIENTS A"
                           : !delays           ? "ZENITH DELAYS"
                                               : "COEFFICIENTS A";
  const std::string instead = !delays && !mapping ? "SAASTAMOINEN AND NIELL"
                              : !delays           ? "SAASTAMOINEN"
                                                  : "NIELL";
  ClassWarning(kCls, "VMF1 " + what + " FOR POINT " + station + " NOT IN FILE " +
                         (delays ? mVmf1.GetFile() : tVmf1.GetFile()) + " - USING " + instead +
                         " FOR THIS POINT!");
}

bool gTropModel::ServesZenithDelay() const {
  return TropM != gTMns::VMF1TM || tVmf1.Serves();
}

bool gTropModel::ServesMappFunction() {
  if (MappF == gTMns::VMF1) return mVmf1.Serves();
  if (MappF != gTMns::GPT2MF || TropM == gTMns::GPT2) return true;
  if (!warnedGpt2Mapping)
    ClassWarning(kCls, "GPT2 MAPPING FUNCTION WITHOUT GPT2 TROPOSPHERE MODEL - USING NIELL!");
  warnedGpt2Mapping = true;
  return false;
}

void gTropModel::SetAtmParams(const flh& pos) {
  const long double f = pos.GetF(), l = pos.GetL(), h = pos.GetH();
  // The fallback models are always ready for a station the chosen ones cannot serve.
  tSaas.SetAtmParams(f, h);
  mNiell.SetAtmParams(f, h);
  switch (TropM) {
    case gTMns::SAASTAMOINEN:
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
  switch (ServesZenithDelay() ? TropM : static_cast<short>(gTMns::SAASTAMOINEN)) {
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
  Map(td, pos, t, E, nullptr);
}

void gTropModel::GetMappFunction(gTropDelay& td, const flh& pos, const mjd& t, long double E,
                                 long double sinE) {
  Map(td, pos, t, E, &sinE);
}

void gTropModel::Map(gTropDelay& td, const flh& pos, const mjd& t, long double E,
                     const long double* sinE) {
  const long day = static_cast<long>(t.GetMJDay());
  const long double f = pos.GetF(), h = pos.GetH();
  long double dry = 1.0L, wet = 1.0L;
  switch (ServesMappFunction() ? MappF : static_cast<short>(gTMns::NIELL)) {
    case gTMns::NIELL:
      if (sinE)
        mNiell.GetMappFunctionSin(day, h, *sinE, dry, wet);
      else
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
    case gTMns::GPT2MF:
      mVmf1.vmf1_ht(tGPT2.GetCoeffAH(), tGPT2.GetCoeffAW(), day, f, h, E, dry, wet);
      break;
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
