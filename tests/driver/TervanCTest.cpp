#include <gtest/gtest.h>

#include <memory>

#include "driver/TervanC.h"

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

TEST(TervanC, Defaults) {
  auto tc = std::make_unique<TervanC>();
  EXPECT_TRUE(tc->GetRunProg());
  EXPECT_TRUE(tc->CorrAmbig);
  EXPECT_FALSE(tc->GetVerbose());
  EXPECT_EQ(tc->obsP, 1);
  EXPECT_EQ(tc->MinElevation, 10.0);
  EXPECT_EQ(tc->IonexUnit, 0);
  EXPECT_EQ(tc->IonexProc, 1);
  EXPECT_EQ(tc->TrpModel, -1);
  EXPECT_EQ(tc->TrpMappFun, -1);
  EXPECT_EQ(tc->TropoSigma, 0.03L);
  EXPECT_EQ(tc->nTropoGradInt, 1);
  EXPECT_EQ(tc->MinObsAmb, 120);
  EXPECT_EQ(tc->ThresL40, 0.03L);
  EXPECT_EQ(tc->dThresL4, 0.01L);
  EXPECT_EQ(tc->MWRMSThres, 0.86L);
  EXPECT_EQ(tc->MaxAmbTimeGap, 30.5L);
  EXPECT_EQ(tc->MinObs, 5);
  EXPECT_EQ(tc->ThresBlunder, 4.0L);
  EXPECT_EQ(tc->MaxfDiff, 50.0L);
  EXPECT_EQ(tc->sigC, 0.2L);
  EXPECT_EQ(tc->sigP, 0.2L);
  EXPECT_EQ(tc->sigL1, 0.2L / 100.0L);
  EXPECT_EQ(tc->sig0, 0.2L / 10.0L);
  EXPECT_NEAR(static_cast<double>(tc->satEclipsThres), 0.24434609527920614, 1e-16);
  EXPECT_EQ(tc->EclipsSat.NRow(), 100);
  EXPECT_EQ(tc->EclipsNObs.NRow(), 100);
  EXPECT_EQ(tc->EclipsSat(99, 0), 0);
  EXPECT_EQ(tc->eGPS.GetA(), elipsoid(0).GetA());
  EXPECT_EQ(tc->eGPS.GetF(), elipsoid(0).GetF());
  EXPECT_EQ(tc->eGAL.GetF(), elipsoid(0).GetF());
  EXPECT_EQ(tc->eGLN.GetA(), elipsoid(2).GetA());
  EXPECT_EQ(tc->eGLN.GetF(), elipsoid(2).GetF());
  EXPECT_EQ(tc->MaxIter, 10);
  EXPECT_EQ(tc->IterThres, 0.001);
  EXPECT_EQ(tc->IterThresFin, 0.0);
  // Everything else starts empty or off.
  EXPECT_STREQ(tc->sdfile, "");
  EXPECT_STREQ(tc->CerrFile, "");
  EXPECT_FALSE(tc->isSDfile || tc->isPEph || tc->isGPS || tc->ifC1 || tc->ifEstTropo);
  EXPECT_FALSE(tc->GetNOutl());
}

TEST(TervanC, StartAndEndMessagesOnlyWhenVerbose) {
  auto tc = std::make_unique<TervanC>();
  CaptureStderr();
  tc->StartProg();
  tc->EndProg();
  EXPECT_EQ(GetCapturedStderr(), "");
  tc->verbose = true;
  CaptureStderr();
  tc->StartProg();
  tc->EndProg();
  EXPECT_EQ(GetCapturedStderr(),
            "\nTervan: ***** GNSS CODE/PHASE SINGLE DIFFERENCES POSITIONING - STARTING "
            "APPLICATION *****\n"
            "Tervan: ***** SUCCESFULLY ENDING PROGRAM *****!\n\n\n");
}
