#include "driver/TervanC.h"

#include <iostream>

namespace {
constexpr long double Pi = 3.141592653589793L;
}

struct TervanC::OwnInputs {
  PhsDiffHeader h;
  PhsDiffData d{h};
  PhsDiff r{h, d};
  IONEXHeader ih;
  IONEXData id{ih};
  IONEX ix{ih, id};
};

TervanC::TervanC(PhsDiffHeader& h, PhsDiffData& d, PhsDiff& r, IONEXHeader& ih, IONEXData& id,
                 IONEX& ix)
    : sdh(h), sdd(d), sd(r), ionxh(ih), ionxd(id), ionx(ix) {
  SetDefaults();
}

TervanC::TervanC()
    : own_(std::make_unique<OwnInputs>()),
      sdh(own_->h),
      sdd(own_->d),
      sd(own_->r),
      ionxh(own_->ih),
      ionxd(own_->id),
      ionx(own_->ix) {
  SetDefaults();
}

void TervanC::SetDefaults() {
  RunProg = true;
  CorrAmbig = true;  // try to correct improper cycle-slip decisions
  obsP = 1;          // cos(z) weighting
  MinElevation = 10.0;
  eGPS.Set(elipsoidns::GRS80);
  eGLN.Set(elipsoidns::PZ90);
  eGAL.Set(elipsoidns::GRS80);
  IonexUnit = 0;
  IonexProc = 1;
  IonexTECV = 0;
  TrpModel = -1;
  TrpMappFun = -1;
  TropoInterval = 0.0L;
  TropoShift = 0.0L;
  TropoGradInterval = 0.0L;
  TropoSigma = 0.03L;
  nTropoGradInt = 1;
  // MinObsAmb and MaxAmbTimeGap are replaced from the data interval once the
  // observations are known.
  MinObsAmb = 120;
  ThresL40 = 0.03L;
  dThresL4 = 0.01L;
  MWRMSThres = 0.86L;
  MaxAmbTimeGap = 30.5L;
  MinObs = 5;
  ThresBlunder = 4.0L;
  MaxfDiff = 50.0L;
  sigC = 0.2L;
  sigP = 0.2L;
  sigL1 = sigC / 100.0L;
  sig0 = sigP / 10.0L;  // derived again once the observation types are known
  satEclipsThres = 14.0L * Pi / 180.0L;
  EclipsSat.Resize(100, 1, 0);
  EclipsNObs.Resize(100, 1, 0);
  MaxIter = 10;
  IterThres = 0.001;
  IterThresFin = 0.0;
}

TervanC::~TervanC() = default;

void TervanC::StartProg() {
  if (!verbose) return;
  std::cerr << '\n'
            << "Tervan: ***** GNSS CODE/PHASE SINGLE DIFFERENCES POSITIONING - STARTING "
               "APPLICATION *****"
            << std::endl;
}

void TervanC::EndProg() {
  if (!verbose) return;
  std::cerr << "Tervan"
            << ": ***** SUCCESFULLY ENDING PROGRAM *****!" << '\n'
            << '\n'
            << std::endl;
}
